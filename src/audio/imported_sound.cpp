#include "audio/imported_sound.h"

#include "base/text_format.h"

namespace murmelix {

std::string ImportedSound::summary() const {
    const AudioDocument& doc = document;
    std::string text = description + "\n";
    text +=
        formatText("Result: %d-bit %d Hz %s, %d frames (%.3f s), %d cue points\n",
                   doc.bitsPerSample(), doc.fileSampleRate, doc.channels() == 1 ? "mono" : "stereo",
                   doc.frameCount, doc.durationSeconds(), doc.cueCount());
    if (clippedSamples > 0) {
        text += formatText("%lld samples beyond full scale were clipped.\n",
                           static_cast<long long>(clippedSamples));
    }
    if (framesLeftOut > 0) {
        text += formatText(
            "The last %lld frames were left out: a document holds at most 2 GB of samples.\n",
            static_cast<long long>(framesLeftOut));
    }
    return text;
}

}  // namespace murmelix
