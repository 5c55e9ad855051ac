#pragma once

// Declares every skin control to the window layouts.
void RegisterSkinControls();
