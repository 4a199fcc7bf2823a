#pragma once

#include <cstdio>
#include <cstdlib>

#include "fake/fake_desktop.h"

namespace tunebridge::fuzz {

// A broken invariant aborts, so libFuzzer reports the input and keeps it.
inline void Expect(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "broken invariant: %s\n", invariant);
    std::abort();
}

// The fake desktop with the one query it does not answer yet.
struct FuzzDesktop : fake::FakeDesktop {
    bool IsWindow(Hwnd window) override { return window != 0 && Exists(window); }
};

} // namespace tunebridge::fuzz
