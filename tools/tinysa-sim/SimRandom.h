#pragma once

// Stateless, platform-independent pseudo-random numbers for the simulator.
// Every value the simulator invents is a hash of the seed and of what it is
// for (sweep, point, carrier...), so a test can recompute any of them without
// replaying the simulator's history.

#include <QtGlobal>

namespace tinysasim::rnd {

// SplitMix64 finaliser: a good 64-bit mixing function.
constexpr quint64 mix(quint64 value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

constexpr quint64 hash(quint64 a, quint64 b) {
  return mix(mix(a) ^ (b + 0x632BE59BD9B4E019ULL));
}
constexpr quint64 hash(quint64 a, quint64 b, quint64 c) {
  return hash(hash(a, b), c);
}
constexpr quint64 hash(quint64 a, quint64 b, quint64 c, quint64 d) {
  return hash(hash(a, b, c), d);
}

// Uniform in [0, 1).
constexpr double unit(quint64 h) {
  return double(h >> 11) * (1.0 / 9007199254740992.0);
}

// Uniform in [low, high).
constexpr double uniform(quint64 h, double low, double high) {
  return low + (high - low) * unit(h);
}

// Uniform integer in [low, high] (high >= low).
constexpr qint64 between(quint64 h, qint64 low, qint64 high) {
  return low + qint64(h % quint64(high - low + 1));
}

// A small sequential generator for the places where a run of values is needed
// (chunk sizes, corrupted positions); seeded from a hash, so still reproducible.
class Sequence {
public:
  explicit constexpr Sequence(quint64 seed) : m_state(seed) {}
  constexpr quint64 next() {
    m_state += 0x9E3779B97F4A7C15ULL;
    return mix(m_state);
  }
  constexpr qint64 between(qint64 low, qint64 high) { return rnd::between(next(), low, high); }

private:
  quint64 m_state;
};

}  // namespace tinysasim::rnd
