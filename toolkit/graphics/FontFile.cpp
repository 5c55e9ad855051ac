#include "toolkit/graphics/FontFile.h"

#include "toolkit/graphics/Exceptions.h"
#include "toolkit/graphics/Utf8Path.h"

#include <filesystem>
#include <system_error>

TFontFile::TFontFile(const std::string& path) : path_(path)
{
    const std::filesystem::path file = PathOf(path);
    std::error_code error;
    const bool regular = std::filesystem::is_regular_file(file, error);
    const std::uintmax_t size = regular ? std::filesystem::file_size(file, error) : 0;
    if (regular && !error)
        file_.open(file, std::ios::binary);
    if (!regular || error || !file_)
        throw EPlatformError(FormatText("Font file %s can't be opened (%s)", path.c_str(),
            error ? error.message().c_str() : regular ? "it can't be read" : "no regular file"));
    stream_.size = static_cast<unsigned long>(size);
    stream_.descriptor.pointer = this;
    stream_.pathname.pointer = path_.data();
    stream_.read = &TFontFile::Read;
    stream_.close = &TFontFile::Close;
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
    std::ifstream& file = static_cast<TFontFile*>(stream->descriptor.pointer)->file_;
    file.clear();
    if (!file.seekg(static_cast<std::streamoff>(offset)))
        return 0;
    file.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count));
    return static_cast<unsigned long>(file.gcount());
}

void TFontFile::Close(FT_Stream)
{
    // The file is closed with the object, after the face that reads it.
}
