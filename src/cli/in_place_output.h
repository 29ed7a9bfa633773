#pragma once

#include <string>

#include "audio/imported_sound.h"
#include "base/result.h"

namespace murmelix::cli {

// An import writes a WAV file. Written over its own source, the WAV file would replace a
// file of another format (a FLAC file named "a.flac", or a 24-bit WAV file cut to 16 bits)
// for good; in place of a WAV file the program reads as it is, nothing is lost, and that
// stays allowed, as for cues import.
class InPlaceOutput {
  public:
    // Whether both names are one existing file, through any path or link (device and
    // inode, not the spelling). Standard output is no file.
    static bool sameFile(const std::string& input, const std::string& output);

    // Refuses, naming both, an output that is the input when the WAV file made from it
    // would not keep the input's format.
    static Result check(const std::string& input, const std::string& output,
                        const ImportedSound& imported);
};

}  // namespace murmelix::cli
