#pragma once

#include <QString>

#include <cstdint>

namespace livrax::demo {

// A small deterministic generator (splitmix64): the same seed gives the same
// sequence on every platform and compiler, which the standard distributions
// do not promise.
class DemoRandom {
  public:
    explicit DemoRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number in [0, bound).
    qint64 below(qint64 bound) { return bound <= 1 ? 0 : qint64(next() % std::uint64_t(bound)); }
    // A number in [low, high].
    qint64 between(qint64 low, qint64 high) { return low + below(high - low + 1); }
    // True with the given chance in percent.
    bool chance(int percent) { return below(100) < percent; }
    template <typename List> const auto& pick(const List& list) {
        return list[qsizetype(below(qint64(list.size())))];
    }
    QString digits(int count) {
        QString text;
        for (int i = 0; i < count; ++i)
            text += QChar(u'0' + int(below(10)));
        return text;
    }

  private:
    std::uint64_t m_state;
};

} // namespace livrax::demo
