#include "data/field.h"

#include "data/collation.h"
#include "data/engine_error.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

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

[[noreturn]] void fractionRefused(const FieldDef& field, const QString& shown, const QString& table) {
    throw EngineError(QStringLiteral("\"%1\" ist keine ganze Zahl: das Feld \"%2\" der Tabelle \"%3\" nimmt nur "
                                     "ganze Zahlen auf.")
                          .arg(shown, field.name, table));
}

const QLocale& germanNumbers() {
    static const QLocale locale = [] {
        QLocale german(QLocale::German);
        // No thousands separators: "1.234,5" is refused, not read as 1234,5.
        german.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return german;
    }();
    return locale;
}

// "1.234" or "12.000": a German reader means thousands, another program a decimal point. Neither
// reading is taken, so a value is never stored a thousand times too small or too large.
bool looksLikeThousands(const QString& text) {
    static const QRegularExpression grouped(QStringLiteral("^\\s*[+-]?\\d{1,3}(\\.\\d{3})+\\s*$"));
    return grouped.match(text).hasMatch();
}

// A decimal comma first; a decimal point is taken too, as numbers written by other programs use it.
double parseNumber(const QString& text, bool* ok) {
    const double v = germanNumbers().toDouble(text, ok);
    if (*ok)
        return v;
    if (looksLikeThousands(text))
        return 0;
    return text.toDouble(ok);
}

bool isFraction(const QVariant& value) {
    const int type = value.metaType().id();
    return type == QMetaType::Double || type == QMetaType::Float;
}

// An integer field takes whole numbers only: a fraction is refused, never rounded.
qint64 wholeNumber(const FieldDef& field, const QVariant& value, const QString& text, const QString& table) {
    const bool isText = value.metaType().id() == QMetaType::QString;
    bool ok = false;
    if (!isText && !isFraction(value)) {
        const qint64 v = value.toLongLong(&ok);
        if (!ok)
            badValue(field, value, table);
        return v;
    }
    if (isText) {
        const qint64 v = text.toLongLong(&ok);
        if (ok)
            return v;
    }
    const double d = isText ? parseNumber(text, &ok) : value.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::abs(d) > 9.0e18)
        badValue(field, value, table);
    if (d != std::trunc(d))
        fractionRefused(field, isText ? text : valueText(value), table);
    return qint64(d);
}

// A date, or a date with a time of day whose time is dropped ("now", a file's last-write time).
QDate dateOf(const QVariant& value, const QString& text) {
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QString:
        break;
    default:
        return {};
    }
    const qsizetype blank = text.indexOf(u' ');
    if (blank < 0)
        return parseGermanDate(text);
    const QString time = text.mid(blank + 1).trimmed();
    const bool validTime = QTime::fromString(time, QStringLiteral("H:mm")).isValid() ||
                           QTime::fromString(time, QStringLiteral("H:mm:ss")).isValid();
    return validTime ? parseGermanDate(QStringView(text).left(blank)) : QDate();
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
        const qint64 v = wholeNumber(field, value, text, table);
        if (field.kind == FieldKind::SmallInt && (v < -32768 || v > 32767))
            badValue(field, value, table);
        return v;
    }
    case FieldKind::Number: {
        const double v = isText ? parseNumber(text, &ok) : value.toDouble(&ok);
        if (!ok)
            badValue(field, value, table);
        return v;
    }
    case FieldKind::Date: {
        const QDate d = dateOf(value, text);
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
        return germanNumbers().toString(value.toDouble(), 'g', 15);
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
