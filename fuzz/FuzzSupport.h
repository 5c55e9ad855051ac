#pragma once

// What the harnesses share. Each one is a libFuzzer target; the same code
// replays kept inputs in the ordinary build (Replay.cpp), so a finding
// that was fixed stays fixed.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// A property of the code under test that an input broke: reported and
// stopped like a crash, so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace fuzz {

// A fresh folder of this process's own, in memory where the system has
// such a place: the harnesses write files at every input. Ends with '/'.
std::string ScratchFolder(const char* harness);

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string ReadFile(const std::string& path);

} // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
