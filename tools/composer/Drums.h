#pragma once

// The drum kit, synthesised from noise, filters and pitch sweeps. Each drum
// is a one-shot sample without an envelope that plays at its own pitch on C-4.

#include "tools/composer/Instruments.h"
#include "tools/modwriter/ModuleWriter.h"

namespace composer {

modwriter::Instrument Kick(const Shape& shape, double punch = 1.0);
modwriter::Instrument Snare(const Shape& shape, double body = 1.0);
modwriter::Instrument Clap(const Shape& shape);
modwriter::Instrument ClosedHat(const Shape& shape);
modwriter::Instrument OpenHat(const Shape& shape);
modwriter::Instrument Shaker(const Shape& shape);
modwriter::Instrument Rim(const Shape& shape);
modwriter::Instrument Crash(const Shape& shape);
// Pitched: C-4 sounds at 110 Hz so that notes around it tune the drum.
modwriter::Instrument Tom(const Shape& shape);

} // namespace composer
