#pragma once

#include <string>

namespace skin {

// The title a song button shows: the module name stored in the XM file's
// header, or "Song n" when the file is missing, is no XM file or has an
// empty name. n is 1..5.
std::string SongTitle(const std::string& assetsDir, int n);

} // namespace skin
