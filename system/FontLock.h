#pragma once

#include <mutex>

namespace sys {

// The font factory's caches (families resolved, coverage, fallback faces, bitmap
// stand-ins) serve the window and the print worker alike: each entry point that reads
// or fills them holds this lock meanwhile. It may be taken again by the same thread.
std::unique_lock<std::recursive_mutex> lockFontCaches();

} // namespace sys
