#pragma once

#include <QString>
#include <QVariant>
#include <vector>

namespace zep {

enum class FieldKind { AutoInc, Integer, SmallInt, String, Memo, Date, Logical, Number };

// A stored field as the table file declares it.
struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0; // maximum length of a String field
};

// Values in the engine: null is an invalid QVariant; integers are qint64, numbers double,
// dates QDate, logicals bool, texts QString.

// Declared column type in the table file, and back.
QString declaredType(const FieldDef& field);
FieldDef fieldFromDeclaration(const QString& name, const QString& declared, bool primaryKey);

// Converts a value to the field's kind; a String is cut to the field's size, a date-time (or its
// text "dd.MM.yyyy hh:mm") given to a date field keeps its date. Throws EngineError (naming field and
// table) when the value cannot be read as that kind; a fraction given to an integer field is refused,
// not rounded.
QVariant coerceValue(const FieldDef& field, const QVariant& value, const QString& tableName);

// Text forms: empty for null, "Wahr"/"Falsch", dates dd.MM.yyyy, numbers with a decimal comma and
// no thousands separators ("1234,5").
QString valueText(const QVariant& value);
QDate parseGermanDate(QStringView text); // dd.MM.yyyy (also d.M.yyyy); invalid QDate otherwise

QDate parseIsoDate(QStringView text);

bool isTextKind(FieldKind kind);

// Total order of values: null first, then numbers, then dates, then texts (by collateText).
int compareValues(const QVariant& a, const QVariant& b);

} // namespace zep
