#include "tools/composer/Noise.h"

namespace composer {

float Noise::Next()
{
    return static_cast<float>(Unit() * 2.0 - 1.0);
}

double Noise::Unit()
{
    // xorshift32: plenty for audio noise and identical on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 4294967296.0;
}

} // namespace composer
