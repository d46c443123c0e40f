#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant: say which and abort, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition) \
    ((condition) ? void() : (std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition), std::abort()))
