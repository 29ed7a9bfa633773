// Feeds arbitrary bytes to the label file readers (Audacity label tracks and TextGrids, in
// every text encoding they take), then turns every tier into cue points for a small
// document: nothing may crash, and what comes out must lie inside the document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "labels/audacity_labels.h"
#include "labels/label_file.h"
#include "labels/text_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<murmelix::TimedLabel> labels;
    (void)murmelix::AudacityLabels::parse(bytes, "fuzz.txt", labels);
    std::vector<murmelix::TextGridTier> tiers;
    (void)murmelix::TextGrid::parse(bytes, "fuzz.TextGrid", tiers);

    murmelix::AudioDocument doc;
    doc.format.formatTag = 1;
    doc.format.channels = 1;
    doc.format.bitsPerSample = 16;
    doc.format.samplesPerSec = 8000;
    doc.data.assign(16000, 0);
    doc.commit("fuzz.wav");
    murmelix::LabelFile::Contents contents;
    if (!murmelix::LabelFile::parse(bytes, "fuzz", contents).ok()) {
        return 0;
    }
    for (const std::string& name : contents.tierNames()) {
        std::vector<murmelix::CuePoint> cues;
        if (!murmelix::LabelFile::cuesOf(contents, name, "fuzz", doc, cues).ok()) {
            continue;
        }
        for (const murmelix::CuePoint& cue : cues) {
            if (cue.position >= 8000u || cue.position + cue.length > 8000u ||
                cue.label.size() > 255) {
                std::abort();
            }
        }
        doc.cues = cues;
        (void)murmelix::LabelFile::format(murmelix::LabelFile::Format::TextGrid, doc);
    }
    return 0;
}
