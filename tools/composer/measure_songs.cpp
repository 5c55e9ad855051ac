// Measures songs as the disc plays them and prints one row of a Markdown
// table per song:
//
//   velmora_measure_songs [--seconds N] song.xm...   (the first 60 s unless told)
//
// RMS and peak in dBFS; "High R-L": the right channel's level above 4 kHz
// minus the left's; "Side": the level of (L - R) / 2 against (L + R) / 2;
// the spectral centroid; and the loudest minus the quietest whole second.

#include "tools/composer/EngineRecording.h"
#include "tools/composer/MixMeasures.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    double seconds = 60;
    std::vector<std::string> songs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--seconds" && i + 1 < argc)
            seconds = std::stod(argv[++i]);
        else
            songs.push_back(argument);
    }
    if (songs.empty() || seconds < 1) {
        std::fprintf(stderr, "usage: velmora_measure_songs [--seconds N] song.xm...\n");
        return 2;
    }
    std::printf("| Song | RMS dBFS | Peak dBFS | High R-L dB | Side dB | Centroid Hz | 1-s spread dB |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    try {
        for (const std::string& path : songs) {
            const composer::SongRecording song = composer::RecordSong(path, seconds);
            const composer::MixMeasures m = composer::Measure(song.audio);
            std::printf("| %s | %.1f | %.1f | %+.1f | %.1f | %.0f | %.1f |\n", song.title.c_str(), m.rmsDb, m.peakDb,
                m.highBalanceDb, m.sideDb, m.centroidHz, m.levelSpreadDb);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "velmora_measure_songs: %s\n", error.what());
        return 1;
    }
    return 0;
}
