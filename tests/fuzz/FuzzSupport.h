// Shared by the fuzz targets: checks that stop the run with a message when a property does
// not hold.
#pragma once

#include <QByteArray>

#include <cstdio>
#include <cstdlib>

namespace koyomi::fuzz {

// A property of the code under test that failed: reported as a crash, so that the fuzzer
// keeps the input that shows it.
[[noreturn]] inline void propertyFailed(const char* what)
{
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
}

inline void check(bool holds, const char* what)
{
    if (!holds) {
        propertyFailed(what);
    }
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace koyomi::fuzz
