#include "tests/support/TestModules.h"

#include "tools/modwriter/ModuleWriter.h"

std::vector<std::uint8_t> SlowModule(int orders)
{
    using namespace modwriter;
    Module module;
    module.name = "slow";
    module.channels = 4;
    module.initialSpeed = 31;
    module.initialTempo = 32;
    for (int order = 0; order < orders; ++order) {
        module.orders.push_back(static_cast<std::uint8_t>(order));
        Pattern pattern(16, 4);
        pattern.At(0, 0, 4) = Cell{Note(4, order % 12), 1, 0, 0, 0};
        module.patterns.push_back(pattern);
    }
    Instrument instrument;
    instrument.name = "square";
    for (int i = 0; i < 64; ++i)
        instrument.sample.data.push_back(static_cast<std::int16_t>(i < 32 ? 8000 : -8000));
    instrument.sample.loopLength = 64;
    module.instruments.push_back(instrument);
    return WriteXM(module);
}
