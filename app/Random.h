#pragma once

#include <cstdint>
#include <memory>
#include <random>

// The program's one random generator: seeded once per run from the time of
// day, giving uniform integers. Tests put a scripted one in its place.
class TRandom {
public:
    virtual ~TRandom() = default;
    virtual void Randomize();
    // Uniform from 0 to range - 1.
    virtual int Random(int range);

private:
    std::mt19937 engine_;
};

TRandom& ProgramRandom();
// Replaces the program's generator; hands back the one it replaced.
std::unique_ptr<TRandom> SetProgramRandom(std::unique_ptr<TRandom> random);
