// The media controls against a real session bus of the test's own: the bus
// answers on its own thread whatever the message loop is doing, commands
// reach the player through the loop, changes go out as signals, and files
// the desktop asks for in vain are refused at once and told once.

#include "desktop/MprisServer.h"
#include "desktop/SessionBus.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestModules.h"
#include "toolkit/windowing/Application.h"

#include <gmock/gmock.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// A dbus-daemon of the test's own, its address in the environment.
class PrivateBus {
public:
    explicit PrivateBus(const TempFolder& folder) : socket_(folder.Path("bus"))
    {
        const std::string address = "--address=unix:path=" + socket_;
        const char* argv[] = {"dbus-daemon", "--session", address.c_str(), "--nofork", nullptr};
        if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = 0;
        for (int wait = 0; wait < 500 && !std::filesystem::exists(socket_); ++wait)
            std::this_thread::sleep_for(10ms);
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + socket_).c_str(), 1);
    }
    ~PrivateBus()
    {
        unsetenv("DBUS_SESSION_BUS_ADDRESS");
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Running() const { return pid_ > 0 && std::filesystem::exists(socket_); }

private:
    std::string socket_;
    pid_t pid_ = 0;
};

// A desktop's side of the bus: calls and property reads with a deadline,
// and the signals the disc sends.
class Desktop {
public:
    Desktop()
    {
        sd_bus_open_user(&bus_);
        sd_bus_match_signal(bus_, nullptr, TMprisServer::BusName, TMprisServer::ObjectPath,
            "org.freedesktop.DBus.Properties", "PropertiesChanged", &Desktop::Signal, this);
        sd_bus_match_signal(bus_, nullptr, TMprisServer::BusName, TMprisServer::ObjectPath,
            TMprisServer::PlayerInterface, "Seeked", &Desktop::Signal, this);
        sd_bus_set_method_call_timeout(bus_, 5'000'000);
    }
    ~Desktop() { sd_bus_flush_close_unref(bus_); }

    // The error's name, empty when the call was answered.
    std::string Call(const char* method, const char* uri = nullptr)
    {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const int result = uri ? sd_bus_call_method(bus_, TMprisServer::BusName, TMprisServer::ObjectPath,
                                     TMprisServer::PlayerInterface, method, &error, &reply, "s", uri)
                               : sd_bus_call_method(bus_, TMprisServer::BusName, TMprisServer::ObjectPath,
                                     TMprisServer::PlayerInterface, method, &error, &reply, "");
        std::string name = result < 0 ? (error.name ? error.name : "failed") : "";
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        return name;
    }
    std::string Status()
    {
        char* status = nullptr;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        const int result = sd_bus_get_property_string(
            bus_, TMprisServer::BusName, TMprisServer::ObjectPath, TMprisServer::PlayerInterface, "PlaybackStatus",
            &error, &status);
        sd_bus_error_free(&error);
        std::string text = result < 0 ? "no answer" : status;
        std::free(status);
        return text;
    }
    // The signals received within the time given, as "changed <property>..."
    // or "seeked".
    std::vector<std::string> Signals(std::chrono::milliseconds within)
    {
        const auto until = std::chrono::steady_clock::now() + within;
        while (std::chrono::steady_clock::now() < until) {
            if (sd_bus_process(bus_, nullptr) > 0)
                continue;
            sd_bus_wait(bus_, 20'000);
        }
        return std::exchange(signals_, {});
    }

private:
    static int Signal(sd_bus_message* message, void* userdata, sd_bus_error*)
    {
        auto& desktop = *static_cast<Desktop*>(userdata);
        if (sd_bus_message_is_signal(message, nullptr, "Seeked")) {
            desktop.signals_.push_back("seeked");
            return 0;
        }
        const char* interface = nullptr;
        std::string text = "changed";
        sd_bus_message_read(message, "s", &interface);
        sd_bus_message_enter_container(message, 'a', "{sv}");
        while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
            const char* property = nullptr;
            sd_bus_message_read(message, "s", &property);
            text += std::string(" ") + property;
            sd_bus_message_skip(message, "v");
            sd_bus_message_exit_container(message);
        }
        desktop.signals_.push_back(text);
        return 0;
    }

    sd_bus* bus_ = nullptr;
    std::vector<std::string> signals_;
};

class MprisServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(privateBus_.Running()) << "dbus-daemon did not start";
        Application().InitializeHeadless();
        for (int song = 1; song <= TPlayer::SongCount; ++song)
            folder_.Write("song" + std::to_string(song) + ".xm", SlowModule(song + 1));
        player_ = TComponent::Create<TPlayer>(&owner_, folder_.Dir(), folder_.Dir());
        player_->Start();
        bus_ = TSessionBus::Open(1s);
        ASSERT_TRUE(bus_);
        ASSERT_TRUE(bus_->ClaimName(TMprisServer::BusName, 1s));
        server_ = std::make_unique<TMprisServer>(bus_, *player_, TMprisIdentity{"Velmora", "velmora", "Disc", {}},
            TMprisServer::THooks{[] {}, [] {}, [this](const std::string& message) { told_.push_back(message); }});
        bus_->Serve();
    }
    void TearDown() override
    {
        server_.reset();
        bus_.reset();
        if (player_)
            player_->Free();
    }

    TempFolder folder_;
    PrivateBus privateBus_{folder_};
    TComponent owner_{nullptr};
    TPlayer* player_ = nullptr;
    std::shared_ptr<TSessionBus> bus_;
    std::unique_ptr<TMprisServer> server_;
    std::vector<std::string> told_;
};

// A message box runs a loop of its own inside a posted call: the bus goes
// on answering, and the commands it takes wait for the loop.
TEST_F(MprisServerTest, TheBusAnswersWhileTheMessageLoopIsInsideACall)
{
    Desktop desktop;
    std::string statusFromInside;
    std::string playFromInside;
    Application().Post([&] {
        statusFromInside = desktop.Status();
        playFromInside = desktop.Call("Play");
    });
    Application().ProcessMessages();
    EXPECT_EQ(statusFromInside, "Stopped");
    EXPECT_EQ(playFromInside, "") << "answered at once";
    EXPECT_EQ(player_->State(), TPlaybackState::Stopped) << "carried out by the loop, after the call";
    player_->Settle();
    EXPECT_EQ(player_->State(), TPlaybackState::Playing);
    EXPECT_EQ(desktop.Status(), "Playing");
}

TEST_F(MprisServerTest, ChangesGoOutAsSignals)
{
    Desktop desktop;
    desktop.Signals(100ms);
    player_->PlaySong(2);
    player_->Settle();
    player_->SeekToOrder(1);
    player_->Settle();
    player_->SetVolume(50);
    EXPECT_THAT(desktop.Signals(500ms),
        ::testing::ElementsAre("changed Metadata CanSeek", "changed PlaybackStatus CanSeek",
            "changed Metadata CanSeek", "seeked", "changed Volume"));
}

TEST_F(MprisServerTest, FilesThatCantBeOpenedAreRefusedAtOnceAndToldOncePerBurst)
{
    Desktop desktop;
    EXPECT_EQ(desktop.Call("OpenUri", "https://example.org/tune.xm"), SD_BUS_ERROR_INVALID_ARGS);
    EXPECT_EQ(desktop.Call("OpenUri", ("file://" + folder_.Path("missing.xm")).c_str()), SD_BUS_ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(desktop.Call("OpenUri", ("file://" + folder_.Path("")).c_str()), SD_BUS_ERROR_INVALID_ARGS)
        << "a folder";
    EXPECT_EQ(desktop.Call("OpenUri", ("file:///" + std::string(5000, 'x')).c_str()), SD_BUS_ERROR_INVALID_ARGS);
    Application().ProcessMessages();
    EXPECT_THAT(told_, ::testing::IsEmpty()) << "gathered while the burst goes on";
    Application().AdvanceTime(TMprisServer::GatherRefusalsMs);
    ASSERT_EQ(told_.size(), 1u);
    EXPECT_THAT(told_[0], ::testing::StartsWith("4 files the desktop asked for could not be opened."));
    EXPECT_THAT(told_[0], ::testing::HasSubstr("longer than any file's path"));

    EXPECT_EQ(desktop.Call("OpenUri", ("file://" + folder_.Path("song3.xm")).c_str()), "");
    player_->Settle();
    EXPECT_EQ(player_->Track().Path, folder_.Path("song3.xm"));
    EXPECT_EQ(told_.size(), 1u);
}

} // namespace
