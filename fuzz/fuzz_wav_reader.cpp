// Feeds arbitrary bytes to the WAV reader, then runs the effects over whatever loaded: the
// reader must never crash, hang or allocate beyond the input's size, and the effects must
// stay inside any document it produces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "audio/signal_effects.h"
#include "audio/wav_reader.h"
#include "base/console_user_interface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    murmelix::ConsoleUserInterface ui(nullptr);
    murmelix::AudioDocument doc;
    const int result = murmelix::WavReader::readBytes({data, size}, "fuzz.wav", doc, ui);
    if (result != 0) {
        return 0;
    }
    // What loaded can only come from the input.
    if (doc.data.size() > size || doc.cues.size() > size / 24) {
        std::abort();
    }
    for (const auto& cue : doc.cues) {
        if (cue.label.size() > 255 || cue.note.size() > 255) {
            std::abort();
        }
    }
    murmelix::SignalEffects::reverse(doc);
    murmelix::SignalEffects::echo(doc, static_cast<int>(size % 7), 60);
    murmelix::SignalEffects::normalize(doc);
    return 0;
}
