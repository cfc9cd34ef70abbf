#include "mainwin/resubmission.h"

#include "data/dataset.h"

namespace zep {

namespace {

const QDate DayZero(1899, 12, 30);

QString dateLiteral(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

// Every choice admits the value "O", which no operation writes.
QString withOther(const QString& terms) {
    return QStringLiteral("((wtyp = 'O'))") + terms;
}

QString dueTodayFilter(const QDate& today) {
    return withOther(
        QStringLiteral(" OR ((wtyp = 'D') AND (wdatum<=") + dateLiteral(today) + QStringLiteral(")) OR ") +
        QStringLiteral("((wtyp = 'T') AND (wtag  <=") + QString::number(dayNumber(today)) + QStringLiteral(")) OR ") +
        QStringLiteral("((wtyp = 'W') AND (wtag  <=") + QString::number(weekNumber(today)) + QStringLiteral(")) OR ") +
        QStringLiteral("((wtyp = 'M') AND (wtag  <=") + QString::number(monthNumber(today)) + QStringLiteral("))"));
}

QString typeFilter(QChar type) {
    return withOther(QStringLiteral(" OR ((wtyp = '") + type + QStringLiteral("'))"));
}

} // namespace

int dayNumber(const QDate& date) {
    return int(DayZero.daysTo(date));
}

// The integer part, as the numbers were defined: only dates before 1 January 1900 differ from floor.
int weekNumber(const QDate& date) {
    return (dayNumber(date) - 2) / 7;
}

int monthNumber(const QDate& date) {
    return (date.year() - 1899) * 12 + date.month();
}

std::optional<QString> resubmissionFilterText(const QString& caption, const QDate& today) {
    const QDate tomorrow = today.addDays(1);
    if (caption == u"Dokumente")
        return withOther(QString());
    if (caption == u"Alle")
        return QString();
    if (caption == u"Wiedervorlage")
        return withOther(QStringLiteral(" OR ((wtyp <> ''))"));
    if (caption == u"Heute")
        return dueTodayFilter(today);
    if (caption == u"Morgen")
        return withOther(QStringLiteral(" OR ((wtyp = 'D') AND (wdatum=") + dateLiteral(tomorrow) +
                         QStringLiteral("))"));
    if (caption == u"Ab Übermorgen")
        return withOther(QStringLiteral(" OR ((wtyp = 'D') AND (wdatum>") + dateLiteral(tomorrow) +
                         QStringLiteral("))"));
    if (caption == u"Datum")
        return typeFilter(u'D');
    if (caption == u"Täglich")
        return typeFilter(u'T');
    if (caption == u"Wöchentlich")
        return typeFilter(u'W');
    if (caption == u"Monatlich")
        return typeFilter(u'M');
    return std::nullopt;
}

std::optional<int> resubmissionMark(const QString& type) {
    if (type == u"D")
        return 0;
    if (type == u"T")
        return 1;
    if (type == u"W")
        return 2;
    if (type == u"M")
        return 3;
    return std::nullopt;
}

bool resubmissionOverdue(const QString& type, const QVariant& periodNumber, const QVariant& date, const QDate& today) {
    if (type == u"D") {
        const QDate due = date.isNull() ? QDate() : date.toDate();
        return !due.isValid() || today > due;
    }
    const qint64 period = periodNumber.isNull() ? 0 : periodNumber.toLongLong();
    if (type == u"T")
        return period < dayNumber(today);
    if (type == u"W")
        return period < weekNumber(today);
    if (type == u"M")
        return period < monthNumber(today);
    return false;
}

void markResubmissionDone(DataSet& documents, const QDate& today) {
    const QString type = documents.field(u"WTyp").asString().left(1);
    documents.edit();
    if (type == u"D") {
        documents.field(u"WDatum").clear();
        documents.field(u"WTyp").clear();
        documents.field(u"WTag").clear();
    } else if (type == u"T") {
        documents.field(u"WTag").setValue(dayNumber(today) + 1);
    } else if (type == u"W") {
        documents.field(u"WTag").setValue(weekNumber(today) + 1);
    } else if (type == u"M") {
        documents.field(u"WTag").setValue(monthNumber(today) + 1);
    }
    documents.post();
}

namespace {

void writeRule(DataSet& documents, const QVariant& type, const QVariant& period, const QVariant& date) {
    if (!documents.isEditing())
        documents.edit();
    const auto write = [&documents](QStringView field, const QVariant& value) {
        if (value.isNull())
            documents.field(field).clear();
        else
            documents.field(field).setValue(value);
    };
    write(u"WTyp", type);
    write(u"WTag", period);
    write(u"WDatum", date);
}

} // namespace

void setResubmissionRule(DataSet& documents, QStringView code, const QDate& today, const QDate& calendar) {
    const QVariant none;
    if (code == u"T")
        writeRule(documents, QStringLiteral("T"), dayNumber(today), none);
    else if (code == u"W")
        writeRule(documents, QStringLiteral("W"), weekNumber(today), none);
    else if (code == u"M")
        writeRule(documents, QStringLiteral("M"), monthNumber(today), none);
    else if (code == u"DK")
        writeRule(documents, QStringLiteral("D"), none, calendar);
    else if (code == u"DM")
        writeRule(documents, QStringLiteral("D"), none, today.addDays(1));
    else if (code == u"DW")
        writeRule(documents, QStringLiteral("D"), none, today.addDays(7));
    else if (code == u"K")
        writeRule(documents, none, none, none);
}

} // namespace zep
