// What the fuzz targets share: FUZZ_CHECK, which stops the run (libFuzzer keeps the input as a crash) when a
// property the code under test promises does not hold, and UTF-16 text made from fuzz bytes.
#pragma once

#include "platform/platform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::fuzz::CheckFailed(#condition, __FILE__, __LINE__))

namespace fuzz
{
[[noreturn]] inline void CheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

// The temporary file that a target reading files writes each input to: made by the first call (the name says
// whose it is), removed at exit.
inline const std::string& InputFilePath(const char* target = "input")
{
    static std::string path;
    if (path.empty())
    {
        std::string pattern = std::string("/tmp/mapipim-fuzz-") + target + "-XXXXXX";
        const int descriptor = mkstemp(&pattern[0]);
        FUZZ_CHECK(descriptor >= 0);
        close(descriptor);
        path = pattern;
        std::atexit([] { std::remove(path.c_str()); });
    }
    return path;
}

// Writes one input to the input file; false when it cannot be written.
inline bool WriteInputFile(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(InputFilePath().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// UTF-16 code units from bytes, little-endian as PT_UNICODE values lie in memory; an odd last byte is dropped.
inline std::u16string Utf16FromBytes(const uint8_t* data, size_t size)
{
    std::u16string text(size / 2, u'\0');
    if (!text.empty())
        std::memcpy(&text[0], data, text.size() * 2);
    return text;
}

// Text for a function that takes a zero-terminated string: the units up to the first zero.
inline std::u16string TerminatedText(std::u16string text)
{
    const size_t zero = text.find(u'\0');
    if (zero != std::u16string::npos)
        text.resize(zero);
    return text;
}

// Up to maxUnits units of the input as text for a zero-terminated string.
inline std::u16string TakeText(FuzzedDataProvider& input, size_t maxUnits)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxUnits * 2);
    return TerminatedText(Utf16FromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}
} // namespace fuzz
