#pragma once

#include <string>

namespace murmelix {

// Names are kept and shown the way they will still mean the same file later, after the
// current folder has changed: a relative name is put after the current folder, without
// its "." parts ("./a.wav" -> "/home/u/a.wav"; ".." stays, links are not followed).
// Absolute names, "-" (standard input or output) and the empty name (none chosen) stay
// as they are.
struct AbsolutePath {
    static std::string of(const std::string& name);
};

}  // namespace murmelix
