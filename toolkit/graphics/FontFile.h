#pragma once

// A font file as FreeType reads it: the tables and glyphs it asks for, read
// from the file where they lie, rather than the whole file mapped. A face
// uses a few kilobytes of a font file of several hundred; mapped, the
// system would bring most of them in for it and keep them for the run.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <fstream>
#include <string>

class TFontFile {
public:
    // path: UTF-8. Throws EPlatformError when the file can't be opened.
    explicit TFontFile(const std::string& path);
    TFontFile(const TFontFile&) = delete;
    TFontFile& operator=(const TFontFile&) = delete;

    // For FT_Open_Face; it must outlive the face.
    FT_Open_Args OpenArgs();

private:
    static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count);
    static void Close(FT_Stream stream);

    std::string path_;
    std::ifstream file_;
    FT_StreamRec stream_{};
};
