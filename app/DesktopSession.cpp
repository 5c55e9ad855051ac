#include "app/DesktopSession.h"

#include "desktop/FileUri.h"
#include "toolkit/windowing/Application.h"

#include <chrono>
#include <cstdio>

namespace {

using std::chrono::milliseconds;

// A bus that doesn't answer delays the window by this much at most; the
// disc already running answers from its bus's own thread at once, so a
// second start ends within it as well.
constexpr milliseconds answerWithin{1000};

} // namespace

TDesktopSession JoinDesktopSession(const std::vector<std::string>& files)
{
    TDesktopSession session;
    std::shared_ptr<TSessionBus> bus = TSessionBus::Open(answerWithin);
    if (!bus || bus->ClaimName(TMprisServer::BusName, answerWithin)) {
        session.Bus = bus;
        return session;
    }
    TSessionBus::TCallError error;
    if (!files.empty() &&
        !bus->Call(TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::PlayerInterface, "OpenUri",
            {FileUriOf(files.front())}, answerWithin, error)) {
        if (TMprisServer::IsRefusal(error)) {
            std::fprintf(stderr, "velmora: %s\n", error.Message.c_str());
            session.EndWith = 1;
            return session;
        }
        std::fprintf(stderr, "velmora: the disc already running didn't take the file (%s); playing it here\n",
            error.Message.c_str());
        return session;
    }
    bus->Call(TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::RootInterface, "Raise", {}, answerWithin,
        error);
    session.EndWith = 0;
    return session;
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
    TMprisServer::THooks hooks{
        .Raise = [] { Application().Restore(); },
        .Quit = [] { Application().RequestEnd(); },
        .Tell =
            [](const std::string& message) {
                Application().ShowMessage(message, Application().Title(), mbOk | mbIconError);
            },
    };
    auto server = std::make_unique<TMprisServer>(bus, player, std::move(identity), std::move(hooks));
    bus->Serve();
    return server;
}
