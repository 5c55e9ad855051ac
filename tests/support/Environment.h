#pragma once

// Sets and clears environment variables the same way on every system. On
// Windows _putenv_s changes the process's environment as well as the C
// runtime's copy, so SDL, which asks Windows, sees the change too.

#include <cstdlib>
#include <string>

inline void SetEnvironment(const std::string& name, const std::string& value)
{
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void ClearEnvironment(const std::string& name)
{
#ifdef _WIN32
    _putenv_s(name.c_str(), "");
#else
    unsetenv(name.c_str());
#endif
}
