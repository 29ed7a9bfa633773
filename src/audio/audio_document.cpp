#include "audio/audio_document.h"

namespace murmelix {

void AudioDocument::commit(const std::string& name) {
    fileName = name;
    loaded = true;
    changed = false;
    frameSize = format.channels * (format.bitsPerSample / 8);
    frameCount = frameSize > 0 ? dataSize() / frameSize : 0;
    fileSampleRate = static_cast<int32_t>(format.samplesPerSec);
}

void AudioDocument::clear() {
    fileName.clear();
    loaded = false;
    changed = false;
    frameSize = 0;
    frameCount = 0;
    fileSampleRate = 0;
    std::vector<uint8_t>().swap(data);
    std::vector<CuePoint>().swap(cues);
    format = WaveFormat{};
}

}  // namespace murmelix
