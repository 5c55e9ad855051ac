#pragma once

// The five songs of the disc, in the order of their buttons.

#include "tools/modwriter/ModuleWriter.h"

namespace composer {

modwriter::Module Song1(); // "Velmora Skies"
modwriter::Module Song2(); // "Glass Harbour"
modwriter::Module Song3(); // "Ember Drive"
modwriter::Module Song4(); // "Quiet Orbit"
modwriter::Module Song5(); // "Last Tram Home"

} // namespace composer
