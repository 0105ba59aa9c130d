// Environment variables for the length of a test: the process time zone (TZ) and any other variable, each put back
// as the test found it.
#pragma once

#include "platform/win32/MachineZone.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

// Runs a test in a given time zone, or in the present one for a test that changes TZ itself.
class ScopedTz
{
public:
    ScopedTz()
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
    }
    explicit ScopedTz(const char* tz) : ScopedTz() { Apply(tz); }
    ~ScopedTz() { Apply(m_previous ? m_previous->c_str() : nullptr); }
    ScopedTz(const ScopedTz&) = delete;
    ScopedTz& operator=(const ScopedTz&) = delete;

private:
    static void Apply(const char* tz)
    {
        if (tz)
            setenv("TZ", tz, 1);
        else
            unsetenv("TZ");
        tzset();
        mapipim::win32::ResetMachineZone();
    }

    std::optional<std::string> m_previous;
};

// Sets (or, given null, clears) an environment variable for one test.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* previous = std::getenv(name))
            m_previous = previous;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_previous)
            setenv(m_name.c_str(), m_previous->c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};
