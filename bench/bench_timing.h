#pragma once

// What the benchmarks share to time a run against its bare baseline.

#include <QElapsedTimer>

#include <functional>

namespace livrax::bench {

inline double Milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// A run and its baseline take turns, three rounds; the best time of each is
// kept, so that neither gains from running second on a warmer cache.
constexpr int Rounds = 3;

} // namespace livrax::bench
