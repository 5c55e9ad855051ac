#pragma once

#include <optional>
#include <string_view>

// The X11 side of the desktop (TSdlDesktop, made by MakeX11Desktop).

// The Xft.dpi setting in the text of the X resources, if it holds one.
std::optional<int> XftDpiOf(std::string_view resources);
