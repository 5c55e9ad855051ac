#pragma once

#include <cstdint>

namespace composer {

// Deterministic white noise, so that every run writes the same bytes.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) { }
    float Next();  // -1..1
    double Unit(); // 0..1

private:
    std::uint32_t state_;
};

} // namespace composer
