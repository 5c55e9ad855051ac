#include "tools/composer/SongBuilder.h"

#include <stdexcept>

namespace composer {

SongBuilder::SongBuilder(std::string title, int channels, int speed, int tempo)
{
    if (title.size() > 20)
        throw std::invalid_argument("song title \"" + title + "\" is longer than an XM name");
    m_module.name = std::move(title);
    m_module.channels = channels;
    m_module.initialSpeed = speed;
    m_module.initialTempo = tempo;
    m_module.linearFrequencies = true;
}

Shape SongBuilder::Sound(double level, int pan) const
{
    // FT2 counts 2.5 / tempo seconds per tick.
    return Shape{level * m_master, pan, m_module.initialTempo / 2.5};
}

int SongBuilder::Add(modwriter::Instrument instrument)
{
    m_module.instruments.push_back(std::move(instrument));
    return static_cast<int>(m_module.instruments.size());
}

int SongBuilder::Add(PatternBuilder&& pattern)
{
    m_module.patterns.push_back(pattern.Take());
    return static_cast<int>(m_module.patterns.size()) - 1;
}

modwriter::Module SongBuilder::Finish(std::vector<int> orders, int restart)
{
    m_module.orders.clear();
    for (int order : orders) {
        if (order < 0 || order >= static_cast<int>(m_module.patterns.size()))
            throw std::invalid_argument("order names a missing pattern");
        m_module.orders.push_back(static_cast<std::uint8_t>(order));
    }
    m_module.restartPosition = restart;
    return std::move(m_module);
}

} // namespace composer
