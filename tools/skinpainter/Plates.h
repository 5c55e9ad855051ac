#pragma once

#include "tools/skinpainter/Shapes.h"

namespace skin {

// The three pictures a button can show: at rest, held down, and locked
// (for a song button: the song that plays).
enum class ButtonLook { Up, Down, Locked };

// The material every button of the skin is made of, for a plate height
// pixels tall: a golden rim lit from the top left around a dark groove and
// a blue-grey glossy face. Held down, the bevel turns round and the face
// falls into shadow; locked, the face turns warm amber under a pale rim.
Material PlateMaterial(ButtonLook look, double height);

} // namespace skin
