// The scenes' notice for a mesh texture that could not be loaded.
#pragma once

#include <cstdio>

namespace korvath {

// "texture not found" on standard output, without a line feed, flushed at once
// so the user sees it when it happens rather than at exit. The reason is on
// stderr already, from the loader.
inline void printTextureNotFound() {
    std::printf("texture not found");
    std::fflush(stdout);
}

} // namespace korvath
