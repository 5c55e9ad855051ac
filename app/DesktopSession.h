#pragma once

// The disc in the desktop's session: one disc per desktop, and its media
// controls on the session bus. Without a session bus every start runs on
// its own, quietly.

#include "desktop/MprisServer.h"
#include "desktop/SessionBus.h"

#include <memory>
#include <string>
#include <vector>

// Joins the session bus as the desktop's disc. When another disc holds
// that place already, the files are handed to it, it is raised, and
// handedOver is set: this start has nothing more to do. Null without a
// session bus, or when the running disc didn't answer (this start then
// runs on its own).
std::shared_ptr<TSessionBus> JoinDesktopSession(const std::vector<std::string>& files, bool& handedOver);

// The media controls over the player, served from the message loop.
std::unique_ptr<TMprisServer> ServeMediaControls(const std::shared_ptr<TSessionBus>& bus, TPlayer& player);
