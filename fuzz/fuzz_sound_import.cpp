// Feeds arbitrary bytes to the importer (libsndfile behind our own reading, the channel mix,
// the dither) and to the two marker readers on their own: nothing may crash, hang or
// allocate beyond what the input can account for, and whatever imports must be a
// consistent document whose cue points lie inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "audio/aiff_marker_reader.h"
#include "audio/riff_marker_reader.h"
#include "audio/sound_importer.h"
#include "base/span_byte_source.h"

namespace {

void checkTexts(const std::vector<murmelix::CuePoint>& cues, size_t size) {
    if (cues.size() > size / 6 + 1) {
        std::abort();
    }
    for (const auto& cue : cues) {
        if (cue.label.size() > 255 || cue.note.size() > 255) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    murmelix::SpanByteSource source({data, size});
    checkTexts(murmelix::RiffMarkerReader::read(source), size);
    checkTexts(murmelix::AiffMarkerReader::read(source), size);

    murmelix::SoundImportOptions options;
    options.channels = static_cast<int>(size % 3);
    options.bits = size % 5 == 0 ? 8 : 0;
    murmelix::ImportedSound imported;
    // A small document limit keeps decoders of endless silence from running long.
    const murmelix::Result result =
        murmelix::SoundImporter::importSource(source, "fuzz", options, {}, imported, 1u << 20);
    if (!result.ok()) {
        return 0;
    }
    const murmelix::AudioDocument& doc = imported.document;
    if (!doc.loaded || doc.data.size() > (1u << 20) ||
        doc.frameCount * doc.frameSize != doc.dataSize() || doc.channels() < 1 ||
        doc.channels() > 2) {
        std::abort();
    }
    for (const auto& cue : doc.cues) {
        if (cue.position >= static_cast<uint32_t>(doc.frameCount) ||
            cue.length > static_cast<uint32_t>(doc.frameCount) - cue.position) {
            std::abort();
        }
    }
    return 0;
}
