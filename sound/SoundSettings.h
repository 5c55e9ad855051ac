#pragma once

// Sound.opt: the four sound settings and the volume, kept from one run to
// the next as INI text in section "Sound". Read once when the player starts,
// written once when it ends; nothing of the file is held in between.

#include <cstdint>
#include <string>

// The four settings travel together and in this order; the volume is kept
// beside them but is no setting of the engine's output.
struct TSoundSettings {
    std::int32_t MixRate = 22050; // output rate in Hz, passed to the engine as read
    bool Stereo = true;
    bool Bits16 = true;
    std::uint8_t FilterMode = 1; // 0 none, 1 less, 2 more
    int Volume = 100;            // per cent of full scale, 0..100
};

class TSoundSettingsFile {
public:
    // directory holds the file, with its trailing separator (empty: the
    // working directory); "Sound.opt" is appended as it stands.
    explicit TSoundSettingsFile(const std::string& directory) : path_(directory + "Sound.opt") { }

    const std::string& Path() const { return path_; }

    // A missing file, section or key, or a value that doesn't convert,
    // gives that setting's default; nothing is reported.
    TSoundSettings Read() const;
    // Writes "Mixrate", "Stereo", "16 Bit", "Filter Mode" and "Volume" in
    // one replacement of the file, leaving every other line of it alone. A
    // file that can't be written raises EInvalidOperation "Kann nicht nach
    // <path> schreiben" and stays as it was.
    void Write(const TSoundSettings& settings) const;

private:
    std::string path_;
};

// The value of an integer setting's text: "0x" (when more follows) stands
// for "$"; after leading spaces either "$" and hexadecimal digits that fit
// in 32 bits (a bit pattern: $FFFFFFFF is -1) or an optional sign and
// decimal digits within the signed 32-bit range, with nothing after them.
// Anything else, the empty text included, gives fallback.
std::int32_t ConvertSettingInteger(std::string text, std::int32_t fallback);
