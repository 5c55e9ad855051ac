#pragma once

// The disc in the desktop's session: one disc per desktop, the files later
// starts hand to it, and (on Linux) its media controls on the session bus.
// Each system has its own file (DesktopSessionLinux.cpp: the session bus;
// DesktopSessionWindows.cpp: a named pipe). Without a session to join, or
// with one that doesn't answer, every start runs on its own.

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TPlayer;

class TDesktopSession {
public:
    // Joins the session as the desktop's disc. When another disc holds that
    // place already, the files are handed to it and it is raised, and
    // EndWith() tells how this start ends.
    static std::unique_ptr<TDesktopSession> Join(const std::vector<std::string>& files);
    virtual ~TDesktopSession() = default;

    // Set when this start has nothing more to do: the code it ends with.
    std::optional<int> EndWith() const { return endWith_; }
    // From now on the desktop reaches the player, on a thread of the
    // session's own: files handed over, and the media controls.
    virtual void Serve(TPlayer& player) = 0;

protected:
    std::optional<int> endWith_;
};
