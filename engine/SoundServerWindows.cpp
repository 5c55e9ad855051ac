#include "engine/SoundServer.h"

namespace velmora::engine {

// Windows' audio service runs from before log-in: where no output opens,
// there is none to wait for.
AwaitedServer FindAwaitedServer()
{
    return {};
}

} // namespace velmora::engine
