#include "platform/clock.h"

#include <optional>

namespace livrax::platform {

namespace {
std::optional<QDateTime>& fixedMoment() {
    static std::optional<QDateTime> moment;
    return moment;
}
} // namespace

QDateTime Clock::now() {
    return fixedMoment() ? *fixedMoment() : QDateTime::currentDateTime();
}

QDate Clock::today() {
    if (fixedMoment()) return fixedMoment()->date();
    // Date rules ask for today once per date they read (the two-digit-year
    // window), and a file or book reads tens of thousands of dates; looking
    // the local time zone up each time costs more than the rest of a line.
    // The date found is kept for the second of the system clock it was found
    // in.
    thread_local qint64 second = -1;
    thread_local QDate date;
    const qint64 current = QDateTime::currentSecsSinceEpoch();
    if (current != second) {
        date = QDateTime::currentDateTime().date();
        second = current;
    }
    return date;
}

void Clock::setFixed(const QDateTime& moment) {
    fixedMoment() = moment;
}

void Clock::reset() {
    fixedMoment().reset();
}

} // namespace livrax::platform
