#pragma once

#include <QDate>
#include <QDateTime>

namespace zep {

// The one source of "today" and "now" for the program: resubmission rules and displays ask it, so
// that a test can fix the date.
class Clock {
public:
    static QDate today();
    static QDateTime now();

    // Fixes the clock at a moment until it is released; an invalid value releases it.
    static void setFixed(const QDateTime& moment);
};

// Fixes the clock for the lifetime of a scope (tests).
class FixedClock {
public:
    explicit FixedClock(const QDate& day) : FixedClock(QDateTime(day, QTime(9, 0))) {}
    explicit FixedClock(const QDateTime& moment) { Clock::setFixed(moment); }
    ~FixedClock() { Clock::setFixed(QDateTime()); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};

} // namespace zep
