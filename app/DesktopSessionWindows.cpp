#include "app/DesktopSession.h"

#include "player/Player.h"
#include "toolkit/graphics/Utf8Path.h"
#include "toolkit/windowing/Application.h"
#include "toolkit/windowing/WindowsHandle.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

// One disc per desktop on Windows: the first disc of the user's session
// owns a named pipe; a later start hands its file (UTF-8) through it and
// reads the answer: empty when the file is taken, else why it was refused.
// The first disc answers from a thread of its own at once, whatever its
// message loop is doing, and plays the file from the loop.

namespace {

// A disc that doesn't answer within this is taken to be stuck: the start
// then plays the file itself.
constexpr DWORD answerWithinMs = 1000;
constexpr DWORD messageBytes = 65536;
// The longest path Windows takes, in UTF-8 at most three bytes a unit.
constexpr std::size_t longestPath = 32767 * 3;

std::wstring PipeName()
{
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return L"\\\\.\\pipe\\velmora-disc-" + std::to_wstring(session);
}

// Waits for an overlapped operation, or for stop; false when stopped, or
// when the operation failed.
bool Complete(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, HANDLE stop, DWORD& transferred)
{
    if (!started && GetLastError() != ERROR_IO_PENDING)
        return GetLastError() == ERROR_PIPE_CONNECTED;
    const HANDLE waits[2] = {overlapped.hEvent, stop};
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, &transferred, TRUE);
        return false;
    }
    return GetOverlappedResult(pipe, &overlapped, &transferred, FALSE) != 0;
}

class TPipeSession final : public TDesktopSession, private TPlayerListener {
public:
    explicit TPipeSession(HANDLE pipe = INVALID_HANDLE_VALUE)
        : pipe_(pipe), stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), self_(std::make_shared<TPipeSession*>(this))
    {
    }
    ~TPipeSession() override
    {
        SetEvent(stop_.Get());
        if (thread_.joinable())
            thread_.join();
        if (player_)
            player_->RemoveListener(*this);
    }

    void EndWithCode(int code) { endWith_ = code; }

    void Serve(TPlayer& player) override
    {
        if (!pipe_)
            return;
        player_ = &player;
        player.AddListener(*this);
        thread_ = std::thread([this] { Run(); });
    }

private:
    void PlayerGone() override { player_ = nullptr; }

    void Run()
    {
        THandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        for (;;) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = ready.Get();
            DWORD transferred = 0;
            if (!Complete(pipe_.Get(), overlapped, ConnectNamedPipe(pipe_.Get(), &overlapped), stop_.Get(),
                    transferred)) {
                if (WaitForSingleObject(stop_.Get(), 0) == WAIT_OBJECT_0)
                    return;
                DisconnectNamedPipe(pipe_.Get());
                continue;
            }
            std::string request(messageBytes, '\0');
            overlapped = OVERLAPPED{};
            overlapped.hEvent = ready.Get();
            const bool read = Complete(pipe_.Get(), overlapped,
                ReadFile(pipe_.Get(), request.data(), messageBytes, nullptr, &overlapped), stop_.Get(), transferred);
            if (read) {
                request.resize(transferred);
                const std::string answer = Answer(request);
                overlapped = OVERLAPPED{};
                overlapped.hEvent = ready.Get();
                Complete(pipe_.Get(), overlapped,
                    WriteFile(pipe_.Get(), answer.data(), static_cast<DWORD>(answer.size()), nullptr, &overlapped),
                    stop_.Get(), transferred);
            }
            DisconnectNamedPipe(pipe_.Get());
            if (WaitForSingleObject(stop_.Get(), 0) == WAIT_OBJECT_0)
                return;
        }
    }

    // On the pipe's thread: refuses at once what can't be played, and
    // hands the rest to the message loop.
    std::string Answer(const std::string& path)
    {
        std::string refusal;
        if (path.size() > longestPath) {
            refusal = "A path of " + std::to_string(path.size()) + " bytes is longer than any file's";
        } else if (!path.empty()) {
            std::error_code error;
            if (!std::filesystem::is_regular_file(PathOf(path), error))
                refusal = "There is no file " + path;
        }
        Application().Post([session = std::weak_ptr<TPipeSession*>(self_), path, refusal] {
            const std::shared_ptr<TPipeSession*> alive = session.lock();
            if (!alive || !(*alive)->player_)
                return;
            if (!refusal.empty()) {
                Application().ShowMessage(refusal, Application().Title(), mbOk | mbIconError);
                return;
            }
            if (!path.empty())
                (*alive)->player_->PlayFile(path);
            Application().Restore();
        });
        return refusal;
    }

    THandle pipe_;
    THandle stop_;
    TPlayer* player_ = nullptr; // the message loop's
    std::shared_ptr<TPipeSession*> self_;
    std::thread thread_;
};

} // namespace

std::unique_ptr<TDesktopSession> TDesktopSession::Join(const std::vector<std::string>& files)
{
    const std::wstring name = PipeName();
    const HANDLE pipe = CreateNamedPipeW(name.c_str(),
        PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, messageBytes,
        messageBytes, answerWithinMs, nullptr);
    if (pipe != INVALID_HANDLE_VALUE)
        return std::make_unique<TPipeSession>(pipe);

    // Another disc holds the pipe: the file goes to it.
    auto elsewhere = std::make_unique<TPipeSession>();
    const std::string request = files.empty() ? std::string() : files.front();
    std::string answer(messageBytes, '\0');
    DWORD got = 0;
    if (!CallNamedPipeW(name.c_str(), const_cast<char*>(request.data()), static_cast<DWORD>(request.size()),
            answer.data(), messageBytes, &got, answerWithinMs)) {
        std::fprintf(stderr, "velmora: the disc already running didn't take the file; playing it here\n");
        return elsewhere;
    }
    answer.resize(got);
    if (!answer.empty()) {
        std::fprintf(stderr, "velmora: %s\n", answer.c_str());
        elsewhere->EndWithCode(1);
        return elsewhere;
    }
    elsewhere->EndWithCode(0);
    return elsewhere;
}
