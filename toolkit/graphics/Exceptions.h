#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

// The one root of the toolkit's errors; each kind names what went wrong.
class EToolkitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An invalid property value or an operation the object can't do now.
class EInvalidOperation : public EToolkitError {
public:
    using EToolkitError::EToolkitError;
};

// Copying one object into another of an unrelated class.
class EConvertError : public EToolkitError {
public:
    using EToolkitError::EToolkitError;
};

// A window layout that can't be read; the message names the file and line.
class ELayoutError : public EToolkitError {
public:
    using EToolkitError::EToolkitError;
};

// The windowing, font or file layer refused; the message carries its reason.
class EPlatformError : public EToolkitError {
public:
    using EToolkitError::EToolkitError;
};

// printf-style formatting of a message with integer and text arguments.
template <typename... Args>
std::string FormatText(const char* format, Args... args)
{
    int length = std::snprintf(nullptr, 0, format, args...);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, args...);
    return text;
}
