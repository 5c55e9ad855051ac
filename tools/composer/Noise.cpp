#include "tools/composer/Noise.h"

namespace composer {

float Noise::Next()
{
    return static_cast<float>(Unit() * 2.0 - 1.0);
}

double Noise::Unit()
{
    // xorshift32: plenty for audio noise and identical on every machine.
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state / 4294967296.0;
}

} // namespace composer
