#pragma once

#include <cstdint>
#include <string>

#include "audio/audio_document.h"
#include "audio/sound_file_info.h"

namespace murmelix {

// What an import made: a document ready to become the program's, and what to tell the
// person about it.
struct ImportedSound {
    // Loaded and marked changed, with no file name of its own: saving asks for one.
    AudioDocument document;
    // The source as libsndfile saw it.
    SoundFileInfo source;
    // For the title and status bar: "Imported: 24-bit 48000 Hz 4 channels FLAC".
    std::string description;
    // The source's name with the extension ".wav", as the save dialog's preset.
    std::string proposedName;
    // Samples beyond full scale (float sources), clipped to the largest value.
    int64_t clippedSamples = 0;
    // Frames of the source left out because a document holds at most 2 GB of samples.
    int64_t framesLeftOut = 0;

    // The lines the command-line tool prints (and a window may show): the description,
    // the document's format, length and markers, and any clipping or cut.
    std::string summary() const;
};

}  // namespace murmelix
