#include "app/Random.h"

#include <chrono>

namespace {

std::unique_ptr<TRandom>& current()
{
    static std::unique_ptr<TRandom> random = std::make_unique<TRandom>();
    return random;
}

} // namespace

void TRandom::Randomize()
{
    auto now = std::chrono::system_clock::now().time_since_epoch();
    engine_.seed(static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

int TRandom::Random(int range)
{
    return std::uniform_int_distribution<int>(0, range - 1)(engine_);
}

TRandom& ProgramRandom()
{
    return *current();
}

std::unique_ptr<TRandom> SetProgramRandom(std::unique_ptr<TRandom> random)
{
    std::swap(random, current());
    return random;
}
