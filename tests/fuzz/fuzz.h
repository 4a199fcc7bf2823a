#pragma once

#include <cstdio>
#include <cstdlib>

#include "fake/fake_peers.h"

namespace tunebridge::fuzz {

// A broken invariant aborts, so libFuzzer reports the input and keeps it.
inline void Expect(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "broken invariant: %s\n", invariant);
    std::abort();
}

} // namespace tunebridge::fuzz
