// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A seeded generator of 32-bit words for tests.

#include <cstdint>
#include <random>

namespace quarnel::test {

class Rng {
  public:
    explicit Rng(std::uint32_t seed) : g_(seed) {}
    std::uint32_t operator()() { return static_cast<std::uint32_t>(g_()); }

  private:
    std::mt19937 g_;
};

}  // namespace quarnel::test
