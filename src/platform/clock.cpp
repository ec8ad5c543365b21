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
    return now().date();
}

void Clock::setFixed(const QDateTime& moment) {
    fixedMoment() = moment;
}

void Clock::reset() {
    fixedMoment().reset();
}

} // namespace livrax::platform
