#pragma once

// Whether a sound server is worth waiting for when no output opens: at
// log-in the disc may start before the desktop's server does, and should
// play once it is there rather than give up. What tells such a desktop
// differs by system; this is the engine's one place that knows.

#include <string>

namespace velmora::engine {

struct AwaitedServer {
    // SDL's driver for the server; empty: none is awaited, and no output
    // means no sound output at all.
    std::string driver;
    // The SDL drivers to ask at start, in order, instead of all of SDL's;
    // empty: all of them.
    std::string askFirst;
};

AwaitedServer FindAwaitedServer();

} // namespace velmora::engine
