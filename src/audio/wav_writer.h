#pragma once

#include <functional>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "audio/cue_point.h"
#include "audio/wave_format.h"
#include "base/atomic_file.h"
#include "base/user_interface.h"

namespace murmelix {

// Writes PCM WAV files with a cue list and an associated data list that labels every cue
// region: RIFF, a 16-byte "fmt ", "data" (plus a pad byte after an odd size), "cue ", and
// a LIST "adtl" with ltxt, labl and note for each cue point in order.
//
// Files go through AtomicFile, so a failed write leaves an existing file as it was. Both
// entries give 0 when the file was written completely and 1 when it was not; the message
// has then been shown through ui ("Can't open WAV file '%s' for writing." or "Can't write
// to WAV file '%s'.", with the system's reason when there is one).
class WavWriter {
  public:
    // Writes the sample bytes at the file's current position; false when a write failed.
    // It must write exactly the data size it was announced with.
    using SampleProducer = std::function<bool(AtomicFile& file)>;

    // The document's samples and cue points. The format's sample rate is first set back to
    // the file sample rate (a speed setting may have changed it), once the file is open.
    static int writeDocument(const std::string& path, AudioDocument& doc, UserInterface& ui);

    // The general form, for samples that are not one array (a sequence of segments): the
    // format's first 16 bytes as given, `dataSize` bytes from the producer, one labelled cue
    // region per record (identifier, position, length, label, note). Labels and notes are
    // cut to 255 bytes.
    static int write(const std::string& path, const WaveFormat& format, uint64_t dataSize,
                     const SampleProducer& samples, const std::vector<CuePoint>& cues,
                     UserInterface& ui);

  private:
    enum class Outcome { Written, NotOpened, NotWritten };

    static Outcome writeFile(const std::string& path, const WaveFormat& format, uint64_t dataSize,
                             const SampleProducer& samples, const std::vector<CuePoint>& cues,
                             UserInterface& ui);
};

}  // namespace murmelix
