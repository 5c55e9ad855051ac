#pragma once

// The text in which the songs write a channel's notes, one token per event:
//
//   C-5  C#5  Db5  C5   a note            .    a row with nothing
//   ==                  a note-off        |    a bar line, ignored
//
// and after it, in any order: /N  the rows it lasts (default 1),
// vNN  volume 0..64,  iN  instrument,  :XYY  an effect letter with its
// hexadecimal parameter.  "E-5/4v40 . G-5/2:408 ==/8" is three events.

#include <cstdint>
#include <string_view>
#include <vector>

namespace composer {

struct NoteEvent {
    int row = 0;           // from the start of the line
    int rows = 1;          // how long until the next event
    std::uint8_t note = 0; // modwriter numbering: 0 none, 97 off
    int instrument = 0;    // 0: the channel's own
    int volume = -1;       // -1: none, else 0..64
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
};

struct NoteLine {
    std::vector<NoteEvent> events; // rests are left out
    int rows = 0;                  // total length
};

// Throws std::invalid_argument naming the token it can't read.
NoteLine ParseNotes(std::string_view text);

} // namespace composer
