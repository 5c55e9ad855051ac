#pragma once

// Failures inside the engine travel as EngineError up to the C entry
// points, which record them here for MIDASgetLastError and
// MIDASgetErrorMessage.

#include <stdexcept>
#include <string>

namespace velmora::engine {

enum class ErrorCode : int {
    Ok = 0,
    Undefined = 1,
    OutOfMemory = 2,
    NotInitialised = 3,
    AlreadyInitialised = 4,
    NoOutput = 5,
    FileOpen = 6,
    BadModule = 7,
    InvalidModule = 8,
    InvalidPlayHandle = 9,
    InvalidArgument = 10,
};

class EngineError : public std::runtime_error {
public:
    EngineError(ErrorCode code, const std::string& message) : std::runtime_error(message), code_(code) { }
    ErrorCode Code() const { return code_; }

private:
    ErrorCode code_;
};

// The last failure, shared by all entry points. Texts handed out stay valid
// for the life of the process: the caller may keep the pointer.
class ErrorLog {
public:
    static void Record(ErrorCode code, const std::string& message);
    static int LastCode();
    // The recorded text when `code` is the last failure's, else a general one.
    static const char* MessageFor(int code);
};

} // namespace velmora::engine
