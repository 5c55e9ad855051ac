#pragma once

// A module file opened for reading: a seekable stream over what was opened,
// checked through it to be a file that can hold a module (a regular file,
// neither empty nor larger than any module), so nothing can be swapped in
// between. Opening never waits: a FIFO or a device in the file's place is
// refused. Each system opens files in its own file (ModuleFilePosix.cpp,
// ModuleFileWindows.cpp); both end with a C runtime descriptor.

#include "engine/Errors.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <string>

#include <ext/stdio_filebuf.h>

namespace velmora::engine {

class ModuleFile {
public:
    // path: UTF-8. Throws EngineError (FileOpen, BadModule) naming the path
    // and the reason.
    static std::unique_ptr<ModuleFile> Open(const std::string& path);

    // Takes the descriptor, and closes it with the object.
    explicit ModuleFile(int descriptor) : buffer_(descriptor, std::ios::in), stream_(&buffer_) { }
    std::istream& Stream() { return stream_; }

private:
    __gnu_cxx::stdio_filebuf<char> buffer_;
    std::istream stream_;
};

// What both systems tell of a file they can't take.
EngineError ModuleFileError(ErrorCode code, const std::string& path, const std::string& reason);
// Refuses an empty file, and one far beyond any module before it is read.
void CheckModuleFileSize(const std::string& path, std::uintmax_t bytes);

} // namespace velmora::engine
