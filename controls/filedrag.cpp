#include "controls/filedrag.h"

#include "toolkit/windowing/ClassRegistry.h"

#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t kInitialBufferSize = 128;

struct TPathParts {
    std::string name;
    std::string extension;
};

// Scans from the end: every dot moves the extension's start leftward, the
// first separator ends the scan, so dots of directory names are never seen.
TPathParts SplitPath(std::string_view path)
{
    TPathParts parts{std::string(path), {}};
    for (std::size_t i = path.size(); i-- > 0;) {
        if (path[i] == '.') {
            parts.extension = path.substr(i + 1);
        } else if (path[i] == '/') {
            parts.name = path.substr(i + 1);
            break;
        }
    }
    return parts;
}

} // namespace

TFileDrag::TFileDrag(TComponent* owner)
    : TComponent(owner), nameWithPath_(std::make_unique<TStringList>()), nameOnly_(std::make_unique<TStringList>()),
      extension_(std::make_unique<TStringList>())
{
    AttachToOwner();
    SetEnableDrop(enableDrop_);
}

TFileDrag::~TFileDrag()
{
    DetachFromOwner();
    SetEnableDrop(false);
}

void TFileDrag::AttachToOwner()
{
    ownerWindow_ = dynamic_cast<TForm*>(Owner());
    if (!ownerWindow_) {
        enableDrop_ = false;
        return;
    }
    auto handler = [this](const std::vector<std::string>& paths) { HandleDrop(paths); };
    previousHandler_ = ownerWindow_->SetDropHandler(std::move(handler));
}

void TFileDrag::DetachFromOwner()
{
    if (!ownerWindow_)
        return;
    ownerWindow_->SetDropHandler(std::move(previousHandler_));
}

void TFileDrag::SetEnableDrop(bool enable)
{
    enableDrop_ = enable;
    if (ownerWindow_)
        ownerWindow_->SetAcceptsDrops(enable);
}

void TFileDrag::HandleDrop(const std::vector<std::string>& paths)
{
    // Paths are read through one buffer that grows for a longer path and
    // never shrinks during the drop.
    std::vector<char> buffer(kInitialBufferSize);
    nameWithPath_->Clear();
    nameOnly_->Clear();
    extension_->Clear();
    fileCount_ = static_cast<int>(paths.size());
    for (const std::string& source : paths) {
        std::size_t length = source.size();
        if (length + 1 > buffer.size())
            buffer.assign(length + 1, '\0');
        std::memcpy(buffer.data(), source.c_str(), length + 1);
        std::string_view path(buffer.data(), length);
        TPathParts parts = SplitPath(path);
        nameWithPath_->Add(std::string(path));
        nameOnly_->Add(std::move(parts.name));
        extension_->Add(std::move(parts.extension));
    }
    if (OnDrop)
        OnDrop(this);
}

void RegisterFiledrag()
{
    // Several callers may ask; the class is declared once.
    if (TClassRegistry::Find("TFileDrag"))
        return;
    TClassBuilder<TFileDrag>("TFileDrag", "TComponent")
        .Boolean("EnableDrop", &TFileDrag::SetEnableDrop)
        .Event("OnDrop", &TFileDrag::OnDrop);
}
