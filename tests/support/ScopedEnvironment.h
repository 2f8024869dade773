#pragma once
// Sets an environment variable for the lifetime of the object, then restores it
// (or unsets it when it was not set before).

#include <cstdlib>
#include <optional>
#include <string>

namespace zephrin::testing {

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* current = std::getenv(name))
            m_previous = current;
        ::setenv(name, value, 1);
    }
    ~ScopedEnvironment()
    {
        if (m_previous)
            ::setenv(m_name.c_str(), m_previous->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

} // namespace zephrin::testing
