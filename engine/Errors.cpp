#include "engine/Errors.h"

#include <mutex>
#include <set>

namespace velmora::engine {
namespace {

struct State {
    std::mutex mutex;
    ErrorCode lastCode = ErrorCode::Ok;
    const std::string* lastMessage = nullptr;
    // Node-based, so every text keeps its address while others are added.
    std::set<std::string> texts;

    const std::string* Intern(const std::string& text) { return &*texts.insert(text).first; }
};

State& GetState()
{
    static State state;
    return state;
}

const char* GeneralText(int code)
{
    switch (static_cast<ErrorCode>(code)) {
    case ErrorCode::Ok: return "OK";
    case ErrorCode::Undefined: return "Undefined error in the sound engine";
    case ErrorCode::OutOfMemory: return "Not enough memory for the sound engine";
    case ErrorCode::NotInitialised: return "The sound engine is not initialised";
    case ErrorCode::AlreadyInitialised: return "The sound engine is already initialised";
    case ErrorCode::NoOutput: return "No sound output device could be opened";
    case ErrorCode::FileOpen: return "Unable to open the module file";
    case ErrorCode::BadModule: return "Unable to load module: not a module file the engine recognises";
    case ErrorCode::InvalidModule: return "Invalid module handle";
    case ErrorCode::InvalidPlayHandle: return "Invalid play handle: the module is not playing";
    case ErrorCode::InvalidArgument: return "Invalid argument passed to the sound engine";
    }
    return nullptr;
}

} // namespace

void ErrorLog::Record(ErrorCode code, const std::string& message)
{
    State& state = GetState();
    std::lock_guard lock(state.mutex);
    state.lastCode = code;
    state.lastMessage = state.Intern(message);
}

int ErrorLog::LastCode()
{
    State& state = GetState();
    std::lock_guard lock(state.mutex);
    return static_cast<int>(state.lastCode);
}

const char* ErrorLog::MessageFor(int code)
{
    State& state = GetState();
    std::lock_guard lock(state.mutex);
    if (state.lastMessage && code == static_cast<int>(state.lastCode) && code != 0)
        return state.lastMessage->c_str();
    if (const char* text = GeneralText(code))
        return text;
    return state.Intern("Unknown sound engine error " + std::to_string(code))->c_str();
}

} // namespace velmora::engine
