#include "engine/Errors.h"
#include "engine/ModuleFile.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

namespace velmora::engine {

std::unique_ptr<ModuleFile> ModuleFile::Open(const std::string& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        throw ModuleFileError(
            ErrorCode::FileOpen, path, std::string("the file can't be opened: ") + std::strerror(errno));
    auto file = std::make_unique<ModuleFile>(descriptor);
    struct stat status { };
    if (::fstat(descriptor, &status) != 0)
        throw ModuleFileError(ErrorCode::FileOpen, path, std::string("the file can't be read: ") + std::strerror(errno));
    if (S_ISDIR(status.st_mode))
        throw ModuleFileError(
            ErrorCode::FileOpen, path, "the file can't be read: " + std::generic_category().message(EISDIR));
    if (!S_ISREG(status.st_mode))
        throw ModuleFileError(ErrorCode::FileOpen, path, "the file can't be read: it is no regular file");
    CheckModuleFileSize(path, static_cast<std::uintmax_t>(status.st_size));
    return file;
}

} // namespace velmora::engine
