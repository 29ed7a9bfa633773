#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "audio/imported_sound.h"
#include "audio/sound_import_options.h"
#include "base/byte_source.h"
#include "base/result.h"

namespace murmelix {

// Turns any sound file libsndfile reads (WAV in every encoding, WAVEX, RF64, W64, AIFF,
// CAF, FLAC, Ogg Vorbis and Opus, MP3, ...) into an audio document: 16-bit PCM (8-bit
// sources stay 8-bit) at the file's own rate, mono or stereo, with the file's markers as
// cue points. See SoundImportOptions for the choices, ChannelMixer for the downmix and
// SampleQuantizer for the dither; the sample rate is never changed, so marker positions
// are taken over unchanged.
//
// The file is streamed in blocks through our own reading (never mapped, never held whole):
// what is held is the growing document and one block. A file that shrinks or fails while
// it is read ends the import with a message.
//
// Thread: a pure function of its inputs. It touches no program state and calls nothing but
// `progress`, so it runs on a worker thread; the caller hands the ImportedSound to the UI
// thread when it is done.
class SoundImporter {
  public:
    static constexpr int kMaxChannels = 8;
    static constexpr size_t kMaxDataSize = INT32_MAX;

    // Frames done so far and the file's frame count (0 when libsndfile does not know it).
    // Called after each block; returning false cancels the import.
    using Progress = std::function<bool(int64_t done, int64_t total)>;

    // Done: `out` holds the import. Cancelled (progress said stop) or Failed (the message
    // names the file and the cause): `out` is left as it was.
    static Result importFile(const std::string& path, const SoundImportOptions& options,
                             const Progress& progress, ImportedSound& out);

    // The same over bytes from anywhere; `name` is used in messages and for the proposed
    // save name. maxDataSize below kMaxDataSize lets the cut be tried on small files.
    static Result importSource(ByteSource& source, const std::string& name,
                               const SoundImportOptions& options, const Progress& progress,
                               ImportedSound& out, size_t maxDataSize = kMaxDataSize);
};

}  // namespace murmelix
