#include "toolkit/graphics/Resources.h"

#include <vector>

namespace {

std::vector<TEmbeddedFile>& table()
{
    static std::vector<TEmbeddedFile> files;
    return files;
}

} // namespace

TResourceRegistration::TResourceRegistration(std::span<const TEmbeddedFile> files)
{
    table().insert(table().end(), files.begin(), files.end());
}

std::span<const unsigned char> FindResource(std::string_view name)
{
    for (const auto& file : table()) {
        if (name == file.Name)
            return {file.Data, file.Size};
    }
    return {};
}
