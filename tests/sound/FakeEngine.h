#pragma once

// An engine that only records: every call is kept as text, e.g.
// "MIDASsetOption(3, 1000)", and calls can be told to fail.

#include "sound/EngineApi.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace soundtest {

struct FakeEngine {
    std::vector<std::string> calls;
    // A call fails when its text starts with one of these, e.g. "MIDASinit"
    // or "MIDASloadModule(/songs/missing.xm)".
    std::vector<std::string> failing;
    // Runs with each call's text before it is answered.
    std::function<void(const std::string& call)> onCall;

    std::int32_t position = 0;     // the order position being heard
    std::uint32_t songLength = 12; // order positions of every module
    std::uint32_t playTimeMs = 0;
    std::string title = "Fake song"; // of every module
    std::uint32_t durationMs = 90000;
    std::string instrumentName = "Fake instrument"; // of every instrument

    std::set<MIDASmodule> loaded;
    std::size_t mostLoaded = 0;           // the most modules loaded at one time
    MIDASmodule lastModule = 0;           // modules are 1, 2, 3...
    MIDASmodulePlayHandle lastPlay = 100; // plays are 101, 102...
    int lastError = 0;
    std::string lastErrorText;

    // The calls made since the last Take(), which forgets them.
    std::vector<std::string> Take();
};

FakeEngine& Fake();
// Starts a fresh fake: no calls, nothing failing, handles from the start.
void ResetFake();
const TMidasApi& FakeApi();

inline constexpr int FakeErrorCode = 7;
// The message of a failed call: "Fake failure: <call>".
std::string FakeMessage(const std::string& call);

// The calls that start the engine with these settings.
std::vector<std::string> StartCalls(int mixRate, int filterMode, int outputMode, int volume = 100);

std::vector<std::string> Join(std::vector<std::string> first, const std::vector<std::string>& second);

} // namespace soundtest
