#pragma once

// File paths as the desktop's URIs carry them: file:///home/me/a%20tune.xm.

#include <optional>
#include <string>

// An absolute path as a file URI, every byte but the unreserved ones and
// "/" percent-encoded.
std::string FileUriOf(const std::string& path);
// The path of a file URI on this machine (no host, or "localhost"); none for
// another scheme, another host, a relative path, a NUL or a broken escape.
std::optional<std::string> PathOfFileUri(const std::string& uri);
