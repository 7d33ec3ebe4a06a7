#pragma once
// A platform that drops every message, so the fuzzers run quietly.
#include "platform/headless_platform.h"

namespace lexicrawl::fuzz {

inline void InstallSilentPlatform()
{
    static HeadlessPlatform platform;
    static bool done = false;
    if (!done) {
        platform.SetQuiet(true);
        Platform::SetCurrent(&platform);
        done = true;
    }
}

}  // namespace lexicrawl::fuzz
