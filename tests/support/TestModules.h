#pragma once

#include <cstdint>
#include <vector>

// An XM module of `orders` order positions whose rows last long enough that
// the position never moves by itself during a test.
std::vector<std::uint8_t> SlowModule(int orders);
