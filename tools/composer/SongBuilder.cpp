#include "tools/composer/SongBuilder.h"

#include <stdexcept>
#include <string>

namespace composer {

SongBuilder::SongBuilder(std::string title, int channels, int speed, int tempo)
{
    if (title.size() > 20)
        throw std::invalid_argument("song title \"" + title + "\" is longer than an XM name");
    module_.name = std::move(title);
    module_.channels = channels;
    module_.initialSpeed = speed;
    module_.initialTempo = tempo;
    module_.linearFrequencies = true;
    pans_.assign(static_cast<std::size_t>(channels), -1);
}

Shape SongBuilder::Sound(double level, int pan) const
{
    // FT2 counts 2.5 / tempo seconds per tick.
    return Shape{level * master_, pan, module_.initialTempo / 2.5};
}

int SongBuilder::Add(modwriter::Instrument instrument)
{
    module_.instruments.push_back(std::move(instrument));
    return static_cast<int>(module_.instruments.size());
}

void SongBuilder::Place(int channel, int pan)
{
    if (channel < 0 || channel >= module_.channels || pan < 0 || pan > 255)
        throw std::invalid_argument(
            "no channel " + std::to_string(channel) + " or panning " + std::to_string(pan) + " to place it at");
    pans_[static_cast<std::size_t>(channel)] = pan;
}

void SongBuilder::Stage(modwriter::Pattern& pattern) const
{
    // An XM note with an instrument takes its sample's panning; a set-panning
    // effect on the same row moves it to the channel's place at once.
    constexpr std::uint8_t SetPanning = 0x8;
    for (int row = 0; row < pattern.rows; ++row) {
        for (int channel = 0; channel < module_.channels; ++channel) {
            const int pan = pans_[static_cast<std::size_t>(channel)];
            modwriter::Cell& cell = pattern.At(row, channel, module_.channels);
            if (pan < 0 || !cell.note || cell.note == modwriter::NoteOff)
                continue;
            if (cell.effect || cell.param)
                throw std::invalid_argument("the note at row " + std::to_string(row) + " of placed channel " +
                    std::to_string(channel) + " has an effect of its own");
            cell.effect = SetPanning;
            cell.param = static_cast<std::uint8_t>(pan);
        }
    }
}

int SongBuilder::Add(PatternBuilder&& pattern)
{
    module_.patterns.push_back(pattern.Take());
    return static_cast<int>(module_.patterns.size()) - 1;
}

modwriter::Module SongBuilder::Finish(std::vector<int> orders, int restart)
{
    module_.orders.clear();
    for (int order : orders) {
        if (order < 0 || order >= static_cast<int>(module_.patterns.size()))
            throw std::invalid_argument("order names a missing pattern");
        module_.orders.push_back(static_cast<std::uint8_t>(order));
    }
    module_.restartPosition = restart;
    for (modwriter::Pattern& pattern : module_.patterns)
        Stage(pattern);
    modwriter::Instrument signature;
    signature.name = Credit;
    module_.instruments.push_back(std::move(signature));
    return std::move(module_);
}

} // namespace composer
