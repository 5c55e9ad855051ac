#include "toolkit/windowing/SessionEnd.h"

#include <windows.h>

#include <atomic>

namespace {

// A console the program was started from may close, and the user log off
// or the system shut down while it runs in one: Windows tells on a thread
// of its own and ends the process once the handler returns, so the handler
// waits (a few seconds at most) for the orderly end it asked for.
constexpr DWORD orderlyEndWithinMs = 4000;

std::atomic<bool> asked{false};
std::function<void()> wakeLoop;
HANDLE ended = nullptr;

BOOL WINAPI ConsoleEvent(DWORD event)
{
    asked = true;
    if (wakeLoop)
        wakeLoop();
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(ended, orderlyEndWithinMs);
    return TRUE;
}

} // namespace

TSessionEnd::TSessionEnd(std::function<void()> wake)
{
    wakeLoop = std::move(wake);
    ended = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(&ConsoleEvent, TRUE);
}

TSessionEnd::~TSessionEnd()
{
    SetConsoleCtrlHandler(&ConsoleEvent, FALSE);
    // The program has ended in order: a console that waits may end it.
    SetEvent(ended);
    wakeLoop = nullptr;
}

bool TSessionEnd::Asked()
{
    return asked.exchange(false);
}
