#include "app/DesktopSession.h"

#include "desktop/FileUri.h"
#include "desktop/MprisServer.h"
#include "desktop/SessionBus.h"
#include "toolkit/windowing/Application.h"

#include <chrono>
#include <cstdio>

namespace {

using std::chrono::milliseconds;

// A bus that doesn't answer delays the window by this much at most; the
// disc already running answers from its bus's own thread at once, so a
// second start ends within it as well.
constexpr milliseconds answerWithin{1000};

// The desktop's session bus: the disc's name on it, the MPRIS media
// controls, and OpenUri for the files later starts hand over.
class TBusSession final : public TDesktopSession {
public:
    explicit TBusSession(std::shared_ptr<TSessionBus> bus) : bus_(std::move(bus)) { }
    // The server goes before the bus it is on.
    ~TBusSession() override { server_.reset(); }

    void Serve(TPlayer& player) override
    {
        if (!bus_)
            return;
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
        server_ = std::make_unique<TMprisServer>(bus_, player, std::move(identity), std::move(hooks));
        bus_->Serve();
    }

    void EndWithCode(int code) { endWith_ = code; }

private:
    std::shared_ptr<TSessionBus> bus_;
    std::unique_ptr<TMprisServer> server_;
};

} // namespace

std::unique_ptr<TDesktopSession> TDesktopSession::Join(const std::vector<std::string>& files)
{
    std::shared_ptr<TSessionBus> bus = TSessionBus::Open(answerWithin);
    if (!bus || bus->ClaimName(TMprisServer::BusName, answerWithin))
        return std::make_unique<TBusSession>(std::move(bus));
    auto elsewhere = std::make_unique<TBusSession>(nullptr);
    TSessionBus::TCallError error;
    if (!files.empty() &&
        !bus->Call(TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::PlayerInterface, "OpenUri",
            {FileUriOf(files.front())}, answerWithin, error)) {
        if (TMprisServer::IsRefusal(error)) {
            std::fprintf(stderr, "velmora: %s\n", error.Message.c_str());
            elsewhere->EndWithCode(1);
            return elsewhere;
        }
        std::fprintf(stderr, "velmora: the disc already running didn't take the file (%s); playing it here\n",
            error.Message.c_str());
        return elsewhere;
    }
    bus->Call(TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::RootInterface, "Raise", {}, answerWithin,
        error);
    elsewhere->EndWithCode(0);
    return elsewhere;
}
