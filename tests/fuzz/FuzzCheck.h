#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts like a crash, so
// libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : orvanta::fuzz::fail(#condition, __FILE__, __LINE__))

namespace orvanta::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

}
