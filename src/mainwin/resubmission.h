#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

#include <optional>

namespace zep {

class DataSet;

// Period numbers of resubmission rules, from a local date. Day 0 is 30 December 1899; weeks begin
// on Monday, week 0 being the one of Monday 1 January 1900; January 1900 is month 13.
int dayNumber(const QDate& date);
int weekNumber(const QDate& date);
int monthNumber(const QDate& date);

// The record filter of a node of the resubmission tree, compared by its caption exactly; nothing for
// a caption that is no node of that tree. Dates are written dd.MM.yyyy, unquoted.
std::optional<QString> resubmissionFilterText(const QString& caption, const QDate& today);

// The mark drawn for a rule type: 0 date, 1 daily, 2 weekly, 3 monthly; nothing for any other value.
std::optional<int> resubmissionMark(const QString& type);
constexpr int OverdueMark = 4;

// True when a document's resubmission lies before today: for "D" its date (an empty date counts as
// past), for "T", "W" and "M" its period number (an empty one counts as 0). Other types never are.
bool resubmissionOverdue(const QString& type, const QVariant& periodNumber, const QVariant& date, const QDate& today);

// "Dokument erledigt" on the current record of the document table: a date rule ends, a daily,
// weekly or monthly rule becomes due in the next period, any other value stays. The record is edited
// and posted in every case; engine errors propagate with the record left in edit state.
void markResubmissionDone(DataSet& documents, const QDate& today);

// A rule chosen in the document detail, by its code: "T", "W", "M" daily, weekly, monthly from
// today's period (due at once); "DK" on the calendar's date, "DM" tomorrow, "DW" in a week; "K" none.
// The record is put into edit state when it is not; the caller posts. An unknown code changes nothing.
void setResubmissionRule(DataSet& documents, QStringView code, const QDate& today, const QDate& calendar);

} // namespace zep
