#include "toolkit/windowing/SessionEnd.h"

#include <csignal>

#include <signal.h>

namespace {

// The handler only notes the hang-up: a signal handler may do nothing more.
// A wait of the loop's that the signal cuts short finds it noted.
volatile std::sig_atomic_t hangUpPending = 0;
bool hangUpCaught = false;
struct sigaction previousHangUp { };

void NoteHangUp(int)
{
    hangUpPending = 1;
}

} // namespace

TSessionEnd::TSessionEnd(std::function<void()>)
{
    // Only where nobody chose otherwise: started under nohup, a hang-up
    // stays ignored.
    if (::sigaction(SIGHUP, nullptr, &previousHangUp) != 0 || previousHangUp.sa_handler != SIG_DFL)
        return;
    struct sigaction action { };
    action.sa_handler = NoteHangUp;
    sigemptyset(&action.sa_mask);
    // Calls the signal interrupts go on: not every library retries them.
    action.sa_flags = SA_RESTART;
    hangUpCaught = ::sigaction(SIGHUP, &action, nullptr) == 0;
}

TSessionEnd::~TSessionEnd()
{
    if (hangUpCaught)
        ::sigaction(SIGHUP, &previousHangUp, nullptr);
    hangUpCaught = false;
}

bool TSessionEnd::Asked()
{
    if (!hangUpPending)
        return false;
    hangUpPending = 0;
    return true;
}
