#pragma once

// The text/uri-list a file manager offers for files, shared by the drag
// sources of the end-to-end tests.

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// file:// URIs with everything but unreserved characters and "/" escaped.
inline std::string UriList(const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& file : files) {
        std::string path = std::filesystem::absolute(file).string();
        list += "file://";
        for (unsigned char c : path) {
            if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
                list += static_cast<char>(c);
            } else {
                char escaped[4];
                std::snprintf(escaped, sizeof escaped, "%%%02X", c);
                list += escaped;
            }
        }
        list += "\r\n";
    }
    return list;
}
