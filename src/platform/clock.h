#pragma once

#include <QDate>
#include <QDateTime>

namespace livrax::platform {

// The one source of "today" and "now" for the whole program. Tests fix it so
// that date rules that depend on the current year (the two-digit-year window)
// give repeatable results.
class Clock {
  public:
    static QDateTime now();
    static QDate today();

    // Fixes the clock at `moment` until reset() is called.
    static void setFixed(const QDateTime& moment);
    static void reset();
};

} // namespace livrax::platform
