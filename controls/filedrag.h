#pragma once

#include "toolkit/graphics/StringList.h"
#include "toolkit/windowing/Component.h"
#include "toolkit/windowing/Form.h"

#include <memory>
#include <string>
#include <vector>

// Lets the window that owns it accept files dropped from the desktop. It
// takes the window's drops ahead of the window's own handler; after each
// drop the three lists hold, entry by entry, the full path, the file name
// and its extension, and OnDrop is raised.
//
// Paths are split at "/". The extension is the text after the leftmost dot
// of the file name ("song.final.xm" gives "final.xm"), empty when the name
// has no dot; a path without a separator is its own file name.
class TFileDrag : public TComponent {
public:
    // Attaches to owner when it is a window; otherwise dropping stays off.
    explicit TFileDrag(TComponent* owner);
    ~TFileDrag() override;
    const char* ClassName() const override { return "TFileDrag"; }

    const TStringList& NameWithPath() const { return *nameWithPath_; }
    const TStringList& NameOnly() const { return *nameOnly_; }
    const TStringList& Extension() const { return *extension_; }
    // Files in the last drop; 0 before the first.
    int FileCount() const { return fileCount_; }

    bool EnableDrop() const { return enableDrop_; }
    // Registers (or unregisters) the owner window as a drop target, on
    // every assignment.
    void SetEnableDrop(bool enable);

    // Raised once per drop, after the lists are complete, even for none.
    TNotifyEvent OnDrop;

private:
    void AttachToOwner();
    void DetachFromOwner();
    void HandleDrop(const std::vector<std::string>& paths);

    std::unique_ptr<TStringList> nameWithPath_;
    std::unique_ptr<TStringList> nameOnly_;
    std::unique_ptr<TStringList> extension_;
    int fileCount_ = 0;
    bool enableDrop_ = false;
    TForm* ownerWindow_ = nullptr;
    // The window's handler that this component displaced; put back on detach.
    TDropFilesEvent previousHandler_;
};

// Declares TFileDrag for window layouts.
void RegisterFiledrag();
