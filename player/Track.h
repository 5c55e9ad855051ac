#pragma once

// What the player has loaded, or last had: one of the disc's five songs, a
// module file of the user's, or nothing.

#include <cstdint>
#include <string>

enum class TPlaybackState { Stopped, Playing, Paused };

struct TTrack {
    enum class TKind { None, Song, File };

    TKind Kind = TKind::None;
    int Song = 0;          // 1..5 for a song of the disc
    std::string Path;      // the module file
    std::string Title;     // the module's own title, else the file's name
    std::string Composer;  // empty when the module names none
    std::int32_t LastOrder = -1;  // the last order position; -1 unknown
    std::uint32_t LengthMs = 0;   // one pass through the song; 0 unknown
    // Counts up with every track loaded, so that a song played twice is
    // two tracks to whoever follows them.
    std::uint64_t Serial = 0;

    bool IsSong(int song) const { return Kind == TKind::Song && Song == song; }
};
