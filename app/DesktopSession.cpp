#include "app/DesktopSession.h"

#include "desktop/FileUri.h"
#include "toolkit/windowing/Application.h"

#include <cstdio>

namespace {

// The second start must end within a second even when the running disc is
// slow to answer.
constexpr int answerWithinMs = 400;

} // namespace

std::shared_ptr<TSessionBus> JoinDesktopSession(const std::vector<std::string>& files, bool& handedOver)
{
    handedOver = false;
    std::shared_ptr<TSessionBus> bus = TSessionBus::Open();
    if (!bus || bus->ClaimName(TMprisServer::BusName))
        return bus;
    std::string error;
    if (!files.empty() &&
        !bus->Call(TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::PlayerInterface, "OpenUri",
            {FileUriOf(files.front())}, answerWithinMs, error)) {
        std::fprintf(
            stderr, "velmora: the disc already running didn't take the file (%s); playing it here\n", error.c_str());
        return nullptr;
    }
    bus->Call(TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::RootInterface, "Raise", {}, answerWithinMs,
        error);
    handedOver = true;
    return nullptr;
}

std::unique_ptr<TMprisServer> ServeMediaControls(const std::shared_ptr<TSessionBus>& bus, TPlayer& player)
{
    if (!bus)
        return nullptr;
    TMprisIdentity identity{
        .Name = "Velmora",
        .DesktopEntry = "velmora",
        .DiscTitle = "VYR's first Music Disc",
        .MimeTypes = {"audio/x-mod", "audio/x-s3m", "audio/x-xm"},
    };
    auto server = std::make_unique<TMprisServer>(
        bus, player, std::move(identity), [] { Application().Restore(); }, [] { Application().RequestEnd(); });
    bus->AttachToLoop();
    return server;
}
