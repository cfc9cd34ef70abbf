#include "data/field.h"

#include "data/collation.h"
#include "data/engine_error.h"

#include <QDate>
#include <QLocale>

namespace zep {
namespace {

QString kindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt:
        return QStringLiteral("Ganzzahl");
    case FieldKind::String:
    case FieldKind::Memo:
        return QStringLiteral("Text");
    case FieldKind::Date:
        return QStringLiteral("Datum");
    case FieldKind::Logical:
        return QStringLiteral("Wahrheitswert");
    case FieldKind::Number:
        return QStringLiteral("Zahl");
    }
    return {};
}

[[noreturn]] void badValue(const FieldDef& field, const QVariant& value, const QString& table) {
    throw EngineError(QStringLiteral("\"%1\" ist kein gültiger Wert (%2) für das Feld \"%3\" der Tabelle \"%4\".")
                          .arg(messageExcerpt(value.toString()), kindName(field.kind), field.name, table));
}

int rank(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return 0;
    switch (v.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return 1;
    case QMetaType::QDate:
        return 2;
    default:
        return 3;
    }
}

int sign(double v) {
    return (v > 0) - (v < 0);
}

} // namespace

bool isTextKind(FieldKind kind) {
    return kind == FieldKind::String || kind == FieldKind::Memo;
}

QString declaredType(const FieldDef& field) {
    switch (field.kind) {
    case FieldKind::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldKind::Integer:
        return QStringLiteral("LONGINT");
    case FieldKind::SmallInt:
        return QStringLiteral("SMALLINT");
    case FieldKind::String:
        return QStringLiteral("VARCHAR(%1)").arg(field.size);
    case FieldKind::Memo:
        return QStringLiteral("TEXT");
    case FieldKind::Date:
        return QStringLiteral("DATETEXT"); // text affinity: ISO dates are never read as numbers
    case FieldKind::Logical:
        return QStringLiteral("BOOLEAN");
    case FieldKind::Number:
        return QStringLiteral("DOUBLE");
    }
    return {};
}

FieldDef fieldFromDeclaration(const QString& name, const QString& declared, bool primaryKey) {
    const QString type = declared.toUpper();
    FieldDef field{name, FieldKind::String, 0};
    if (primaryKey && type.startsWith(u"INTEGER"))
        field.kind = FieldKind::AutoInc;
    else if (type == u"LONGINT" || type == u"INTEGER")
        field.kind = FieldKind::Integer;
    else if (type == u"SMALLINT")
        field.kind = FieldKind::SmallInt;
    else if (type.startsWith(u"VARCHAR")) {
        field.kind = FieldKind::String;
        const qsizetype open = type.indexOf(u'(');
        field.size = open < 0 ? 255 : type.mid(open + 1, type.indexOf(u')') - open - 1).toInt();
    } else if (type == u"DATETEXT")
        field.kind = FieldKind::Date;
    else if (type == u"BOOLEAN")
        field.kind = FieldKind::Logical;
    else if (type == u"DOUBLE" || type == u"REAL")
        field.kind = FieldKind::Number;
    else
        field.kind = FieldKind::Memo;
    return field;
}

QDate parseIsoDate(QStringView t) {
    if (t.size() != 10 || t[4] != u'-' || t[7] != u'-')
        return {};
    auto digits = [&](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            if (!t[i].isDigit())
                return -1;
            v = v * 10 + t[i].digitValue();
        }
        return v;
    };
    return QDate(digits(0, 4), digits(5, 2), digits(8, 2));
}

QDate parseGermanDate(QStringView text) {
    const QStringView t = text.trimmed();
    const auto parts = t.split(u'.');
    if (parts.size() != 3)
        return {};
    bool okDay = false, okMonth = false, okYear = false;
    const int day = parts[0].toInt(&okDay), month = parts[1].toInt(&okMonth), year = parts[2].toInt(&okYear);
    if (!okDay || !okMonth || !okYear || parts[2].size() != 4)
        return {};
    return QDate(year, month, day);
}

QVariant coerceValue(const FieldDef& field, const QVariant& value, const QString& table) {
    if (!value.isValid() || value.isNull())
        return {};
    const bool isText = value.metaType().id() == QMetaType::QString;
    const QString text = isText ? value.toString().trimmed() : QString();
    if (isText && text.isEmpty() && !isTextKind(field.kind))
        return {};
    bool ok = true;
    switch (field.kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
    case FieldKind::SmallInt: {
        const qint64 v = isText ? text.toLongLong(&ok) : value.toLongLong(&ok);
        if (!ok || (field.kind == FieldKind::SmallInt && (v < -32768 || v > 32767)))
            badValue(field, value, table);
        return v;
    }
    case FieldKind::Number: {
        double v = 0;
        if (isText) {
            v = QLocale(QLocale::German).toDouble(text, &ok);
            if (!ok)
                v = text.toDouble(&ok);
        } else {
            v = value.toDouble(&ok);
        }
        if (!ok)
            badValue(field, value, table);
        return v;
    }
    case FieldKind::Date: {
        const QDate d = value.metaType().id() == QMetaType::QDate ? value.toDate() : parseGermanDate(text);
        if (!d.isValid())
            badValue(field, value, table);
        return d;
    }
    case FieldKind::Logical:
        if (!isText)
            return value.toBool();
        if (text.compare(u"Wahr", Qt::CaseInsensitive) == 0 || text == u"1" ||
            text.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(u"Falsch", Qt::CaseInsensitive) == 0 || text == u"0" ||
            text.compare(u"false", Qt::CaseInsensitive) == 0)
            return false;
        badValue(field, value, table);
    case FieldKind::String:
        return field.size > 0 ? value.toString().left(field.size) : value.toString();
    case FieldKind::Memo:
        return value.toString();
    }
    return value;
}

QString valueText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::Double:
        return QLocale(QLocale::German).toString(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

int compareValues(const QVariant& a, const QVariant& b) {
    const int ra = rank(a), rb = rank(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    switch (ra) {
    case 0:
        return 0;
    case 1:
        if (a.metaType().id() == QMetaType::Double || b.metaType().id() == QMetaType::Double)
            return sign(a.toDouble() - b.toDouble());
        return a.toLongLong() < b.toLongLong() ? -1 : (a.toLongLong() > b.toLongLong() ? 1 : 0);
    case 2:
        return a.toDate() < b.toDate() ? -1 : (b.toDate() < a.toDate() ? 1 : 0);
    default:
        return collateText(a.toString(), b.toString());
    }
}

} // namespace zep
