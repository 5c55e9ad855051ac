#pragma once

// The session asking the program to end in ways SDL doesn't turn into its
// quit event (SIGTERM and SIGINT, and a window's close, it does): a hang-up
// on Linux (the terminal the program was started from closed); the console
// closing, the user logging off or the system shutting down on Windows.
// Each system listens in a file of its own (SessionEndPosix.cpp,
// SessionEndWindows.cpp); the message loop asks as it pumps, and the
// program then ends in order.

#include <functional>

class TSessionEnd {
public:
    // wake is called, from any thread (never from a signal handler), when
    // the session asks: the loop's wait should end to look.
    explicit TSessionEnd(std::function<void()> wake);
    // Stops listening; on Windows, lets a console that waits for the
    // program's orderly end go on.
    ~TSessionEnd();
    TSessionEnd(const TSessionEnd&) = delete;
    TSessionEnd& operator=(const TSessionEnd&) = delete;

    // True once for each time the session asked.
    bool Asked();
};
