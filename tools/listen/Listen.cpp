// Listens to a raw capture of interleaved float32 samples, as a sound
// server's monitor gives them, and tells what a listener would notice:
// where the sound starts and ends, every run of digital silence inside it
// (a dropout), every stretch that repeats the one just before it (a
// replayed buffer), and the largest step from one sample to the next (a
// click), also among sounding frames alone: a dropout's edges are steps into
// and out of silence, which the music's own steps are not.
//
//   velmora_listen [--rate HZ] [--channels N] [--gap MS] [--from S] [--to S] FILE
//   velmora_listen --rms [--window MS] [--rate HZ] [--channels N] --from S --to S FILE
//
// One line per finding, then a summary:
//   sound 0.512 s to 59.870 s
//   gaps 0 (5 ms or longer), longest 0.0 ms
//   repeats 0 (blocks of 512 frames)
//   largest step 0.0813 at 12.345 s
//   largest step within the sound 0.0813 at 12.345 s
// or, with --rms, only the level of that part of the capture, and with
// --window that of its loudest stretch of so many ms:
//   rms 0.2345
//   loudest 0.3456

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Options {
    int rate = 48000;  // Hz
    int channels = 2;
    double gapMs = 5.0; // the shortest run of silence that counts
    double from = 0.0;  // s; the part of the capture looked at
    double to = 1e12;
    bool rmsOnly = false;
    double windowMs = 0.0; // with rmsOnly: the loudest window of this length too
    std::string file;
};

constexpr std::size_t RepeatFrames = 512;

bool ParseArguments(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* text = nullptr;
        if (argument == "--rate" && (text = value()))
            options.rate = std::atoi(text);
        else if (argument == "--channels" && (text = value()))
            options.channels = std::atoi(text);
        else if (argument == "--gap" && (text = value()))
            options.gapMs = std::atof(text);
        else if (argument == "--from" && (text = value()))
            options.from = std::atof(text);
        else if (argument == "--to" && (text = value()))
            options.to = std::atof(text);
        else if (argument == "--rms")
            options.rmsOnly = true;
        else if (argument == "--window" && (text = value()))
            options.windowMs = std::atof(text);
        else if (!argument.starts_with("--") && options.file.empty())
            options.file = argument;
        else
            return false;
    }
    return !options.file.empty() && options.rate > 0 && options.channels > 0;
}

std::vector<float> ReadSamples(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

// Whether frames [a, a + n) and [b, b + n) hold the same samples, bit for bit.
bool SameFrames(const std::vector<float>& samples, std::size_t channels, std::size_t a, std::size_t b, std::size_t n)
{
    return std::memcmp(&samples[a * channels], &samples[b * channels], n * channels * sizeof(float)) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fprintf(stderr, "usage: velmora_listen [--rms] [--rate HZ] [--channels N] [--gap MS] [--from S] [--to S] FILE\n");
        return 2;
    }
    const std::vector<float> all = ReadSamples(options.file);
    const auto channels = static_cast<std::size_t>(options.channels);
    const double rate = options.rate;
    const std::size_t totalFrames = all.size() / channels;
    const auto first = std::min(totalFrames, static_cast<std::size_t>(options.from * rate));
    const auto last = std::min(totalFrames, static_cast<std::size_t>(std::min(options.to * rate, 1e15)));
    if (options.rmsOnly) {
        double sum = 0.0;
        for (std::size_t sample = first * channels; sample < last * channels; ++sample)
            sum += static_cast<double>(all[sample]) * all[sample];
        const std::size_t count = (last - first) * channels;
        std::printf("rms %.5f\n", count ? std::sqrt(sum / static_cast<double>(count)) : 0.0);
        const auto window = static_cast<std::size_t>(options.windowMs * rate / 1000.0);
        if (window > 0) {
            double loudest = 0.0;
            for (std::size_t start = first; start + window <= last; start += window) {
                double part = 0.0;
                for (std::size_t sample = start * channels; sample < (start + window) * channels; ++sample)
                    part += static_cast<double>(all[sample]) * all[sample];
                loudest = std::max(loudest, std::sqrt(part / static_cast<double>(window * channels)));
            }
            std::printf("loudest %.5f\n", loudest);
        }
        return 0;
    }
    const auto silentFrame = [&](std::size_t frame) {
        for (std::size_t c = 0; c < channels; ++c) {
            if (all[frame * channels + c] != 0.0f)
                return false;
        }
        return true;
    };

    std::size_t soundStart = last;
    std::size_t soundEnd = first;
    for (std::size_t frame = first; frame < last; ++frame) {
        if (!silentFrame(frame)) {
            soundStart = std::min(soundStart, frame);
            soundEnd = frame + 1;
        }
    }
    if (soundStart >= soundEnd) {
        std::printf("sound none\n");
        return 0;
    }
    std::printf("sound %.3f s to %.3f s\n", soundStart / rate, soundEnd / rate);

    const auto gapFrames = static_cast<std::size_t>(std::ceil(options.gapMs * rate / 1000.0));
    std::size_t gaps = 0;
    std::size_t longest = 0;
    for (std::size_t frame = soundStart; frame < soundEnd;) {
        if (!silentFrame(frame)) {
            ++frame;
            continue;
        }
        std::size_t end = frame;
        while (end < soundEnd && silentFrame(end))
            ++end;
        const std::size_t run = end - frame;
        longest = std::max(longest, run);
        if (run >= gapFrames) {
            ++gaps;
            std::printf("gap %.1f ms at %.3f s\n", run * 1000.0 / rate, frame / rate);
        }
        frame = end;
    }
    std::printf("gaps %zu (%.0f ms or longer), longest %.1f ms\n", gaps, options.gapMs, longest * 1000.0 / rate);

    // A stretch equal to the one right before it, found through a rolling
    // hash of the frames' bits and then compared whole.
    std::size_t repeats = 0;
    const std::size_t window = RepeatFrames * channels;
    if (soundEnd - soundStart >= 2 * RepeatFrames) {
        const auto bits = [&](std::size_t sample) {
            std::uint32_t value;
            std::memcpy(&value, &all[sample], sizeof value);
            return std::uint64_t{value} + 1;
        };
        constexpr std::uint64_t base = 1000003;
        std::uint64_t top = 1;
        for (std::size_t i = 1; i < window; ++i)
            top *= base;
        std::vector<std::uint64_t> hashes;
        std::uint64_t hash = 0;
        const std::size_t begin = soundStart * channels;
        const std::size_t end = soundEnd * channels;
        for (std::size_t i = begin; i < begin + window; ++i)
            hash = hash * base + bits(i);
        hashes.push_back(hash);
        for (std::size_t i = begin + channels; i + window <= end; i += channels) {
            for (std::size_t c = 0; c < channels; ++c)
                hash = (hash - bits(i - channels + c) * top) * base + bits(i + window - channels + c);
            hashes.push_back(hash);
        }
        for (std::size_t at = RepeatFrames; at < hashes.size();) {
            const std::size_t frame = soundStart + at;
            if (hashes[at] == hashes[at - RepeatFrames] && !silentFrame(frame) &&
                SameFrames(all, channels, frame, frame - RepeatFrames, RepeatFrames)) {
                ++repeats;
                std::printf("repeat at %.3f s\n", frame / rate);
                at += RepeatFrames;
            } else {
                ++at;
            }
        }
    }
    std::printf("repeats %zu (blocks of %zu frames)\n", repeats, RepeatFrames);

    double largest = 0.0;
    double largestWithin = 0.0;
    std::size_t largestAt = soundStart;
    std::size_t largestWithinAt = soundStart;
    for (std::size_t frame = std::max<std::size_t>(soundStart, 1); frame < soundEnd; ++frame) {
        const bool within = !silentFrame(frame) && !silentFrame(frame - 1);
        for (std::size_t c = 0; c < channels; ++c) {
            const double step = std::fabs(all[frame * channels + c] - all[(frame - 1) * channels + c]);
            if (step > largest) {
                largest = step;
                largestAt = frame;
            }
            if (within && step > largestWithin) {
                largestWithin = step;
                largestWithinAt = frame;
            }
        }
    }
    std::printf("largest step %.4f at %.3f s\n", largest, largestAt / rate);
    std::printf("largest step within the sound %.4f at %.3f s\n", largestWithin, largestWithinAt / rate);
    return 0;
}
