#pragma once

// The disc in the desktop's session: one disc per desktop, and its media
// controls on the session bus. Without a session bus, or with one that
// doesn't answer, every start runs on its own.

#include "desktop/MprisServer.h"
#include "desktop/SessionBus.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TDesktopSession {
    // The bus, with the disc's name claimed; null when this start runs
    // without one.
    std::shared_ptr<TSessionBus> Bus;
    // Set when another disc holds that place already: the files were
    // handed to it (or it refused them, which was said on stderr), and
    // this start ends with this code.
    std::optional<int> EndWith;
};

// Joins the session bus as the desktop's disc, or hands the files to the
// disc already there and raises it.
TDesktopSession JoinDesktopSession(const std::vector<std::string>& files);

// The media controls over the player, served from the bus's own thread.
std::unique_ptr<TMprisServer> ServeMediaControls(const std::shared_ptr<TSessionBus>& bus, TPlayer& player);
