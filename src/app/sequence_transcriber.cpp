#include "app/sequence_transcriber.h"

#include "speech/speech_regions.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix {

Result SequenceTranscriber::transcribe(const SEQUENCE& sequence, const AudioDocument& recording,
                                       const std::string& modelDir, const SpeechProgress& progress,
                                       std::vector<MachineWord>& out) {
    AudioDocument sounded;
    SequenceWavWriter::render(sequence, recording, sounded);
    std::vector<MachineWord> words;
    if (sounded.frameCount > 0) {
        RecognitionSettings settings;
        settings.modelDir = modelDir;
        std::vector<CuePoint> heard;
        if (Result found = SpeechRegions::findWords(sounded, settings, progress, heard);
            !found.ok()) {
            return found;
        }
        const double rate = sounded.fileSampleRate;
        for (const CuePoint& cue : heard) {
            words.push_back({cue.label, SpeechRegions::confidenceOf(cue.note).value_or(0.0),
                             cue.position / rate, (int64_t{cue.position} + cue.length) / rate});
        }
    }
    out = std::move(words);
    return Result::success();
}

}  // namespace murmelix
