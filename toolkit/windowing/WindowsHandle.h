#pragma once

// One owner for a Windows handle: closed when the owner goes. Windows
// answers a failed open with INVALID_HANDLE_VALUE or with none (null),
// depending on the call; both are empty here.

#include <windows.h>

class THandle {
public:
    explicit THandle(HANDLE handle = nullptr) : handle_(handle) { }
    ~THandle() { Close(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;

    explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    void Reset(HANDLE handle)
    {
        Close();
        handle_ = handle;
    }
    // False when Windows could not close it (a write it held back failed).
    bool Close()
    {
        const HANDLE handle = handle_;
        handle_ = nullptr;
        return !handle || handle == INVALID_HANDLE_VALUE || CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};
