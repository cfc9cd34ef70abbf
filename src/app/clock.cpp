#include "app/clock.h"

namespace zep {

namespace {

QDateTime& fixedMoment() {
    static QDateTime moment;
    return moment;
}

} // namespace

QDate Clock::today() {
    return now().date();
}

QDateTime Clock::now() {
    const QDateTime& fixed = fixedMoment();
    return fixed.isValid() ? fixed : QDateTime::currentDateTime();
}

void Clock::setFixed(const QDateTime& moment) {
    fixedMoment() = moment;
}

} // namespace zep
