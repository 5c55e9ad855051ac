#include "toolkit/graphics/FontFile.h"

#include "toolkit/graphics/Exceptions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

TFontFile::TFontFile(const std::string& path) : path_(path)
{
    descriptor_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status { };
    if (descriptor_ < 0 || fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        const int error = errno;
        if (descriptor_ >= 0)
            close(descriptor_);
        throw EPlatformError(FormatMessage("Font file %s can't be opened (%s)", path.c_str(),
            S_ISREG(status.st_mode) || error != 0 ? std::strerror(error) : "no regular file"));
    }
    stream_.size = static_cast<unsigned long>(status.st_size);
    stream_.descriptor.value = descriptor_;
    stream_.pathname.pointer = path_.data();
    stream_.read = &TFontFile::Read;
    stream_.close = &TFontFile::Close;
}

TFontFile::~TFontFile()
{
    if (descriptor_ >= 0)
        close(descriptor_);
}

FT_Open_Args TFontFile::OpenArgs()
{
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &stream_;
    return args;
}

unsigned long TFontFile::Read(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count)
{
    // A count of 0 only asks whether offset is within the file.
    if (count == 0)
        return offset > stream->size ? 1 : 0;
    unsigned long done = 0;
    while (done < count) {
        const ssize_t got = pread(
            static_cast<int>(stream->descriptor.value), buffer + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<unsigned long>(got);
    }
    return done;
}

void TFontFile::Close(FT_Stream)
{
    // The descriptor is closed with the object, after the face that reads it.
}
