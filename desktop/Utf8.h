#pragma once

// Text for the bus, which carries only valid UTF-8: module titles and file
// names are bytes as they were stored, in whatever encoding their maker
// used.

#include <string>
#include <string_view>

// The text with every byte that is not part of valid UTF-8 (a stray
// continuation byte, a cut sequence, an overlong or surrogate form, a code
// point past U+10FFFF) replaced by U+FFFD, one for each broken sequence.
std::string ValidUtf8(std::string_view text);
