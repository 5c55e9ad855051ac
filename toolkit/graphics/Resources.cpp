#include "toolkit/graphics/Resources.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

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

std::span<const unsigned char> FindEmbeddedFile(std::string_view name)
{
    for (const auto& file : table()) {
        if (name == file.Name)
            return {file.Data, file.Size};
    }
    return {};
}

void ReleaseResources()
{
#ifdef __linux__
    if (table().empty())
        return;
    // The files lie together in the program's read-only data, whose pages
    // are never written: a page dropped here, and whatever else shares it,
    // is read again from the program's file when next touched.
    auto begin = reinterpret_cast<std::uintptr_t>(table().front().Data);
    auto end = begin;
    for (const auto& file : table()) {
        begin = std::min(begin, reinterpret_cast<std::uintptr_t>(file.Data));
        end = std::max(end, reinterpret_cast<std::uintptr_t>(file.Data) + file.Size);
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    begin = (begin + page - 1) / page * page;
    end = end / page * page;
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
#endif
}
