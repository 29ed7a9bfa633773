#include "synth/sequence_wav_writer.h"

#include <algorithm>
#include <vector>

#include "audio/audio_document.h"
#include "audio/wav_writer.h"
#include "base/text_format.h"
#include "synth/cross_fader.h"

namespace murmelix {

namespace {

// Session files written on other systems keep their '\\' folders.
std::string fileNameOfAnySystem(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An entry as it can be played from this document: cut where the data ends.
struct Piece {
    int32_t start;
    int32_t length;
    const SEGMENT* entry;
};

std::vector<Piece> piecesOf(const SEQUENCE& sequence, const AudioDocument& doc) {
    std::vector<Piece> pieces;
    pieces.reserve(sequence.entries.size());
    for (const SEGMENT& entry : sequence.entries) {
        const int32_t start = std::clamp(entry.start, 0, doc.frameCount);
        const int32_t length = std::clamp(entry.length, 0, doc.frameCount - start);
        pieces.push_back({start, length, &entry});
    }
    return pieces;
}

std::vector<CuePoint> cuesOf(const std::vector<Piece>& pieces, const std::string& wavFileName) {
    const std::string file = fileNameOfAnySystem(wavFileName);
    std::vector<CuePoint> cues;
    cues.reserve(pieces.size());
    uint32_t position = 0;
    for (const Piece& piece : pieces) {
        CuePoint cue;
        cue.identifier = static_cast<uint32_t>(piece.entry->number);
        cue.position = position;
        cue.length = static_cast<uint32_t>(piece.length);
        cue.label = piece.entry->label.empty()
                        ? formatText("Segment %d", piece.entry->number)
                        : formatText("Segment %d (\"%s\")", piece.entry->number,
                                     piece.entry->label.c_str());
        cue.note = formatText("File %s, %d Samples (%d - %d)", file.c_str(), piece.length,
                              piece.start, piece.start + piece.length - 1);
        cues.push_back(std::move(cue));
        position += static_cast<uint32_t>(piece.length);
    }
    return cues;
}

}  // namespace

int SequenceWavWriter::write(const std::string& path, const SEQUENCE& sequence,
                             const AudioDocument& doc, const std::string& wavFileName,
                             UserInterface& ui) {
    const std::vector<Piece> pieces = piecesOf(sequence, doc);
    WaveFormat format = doc.format;
    format.samplesPerSec = static_cast<uint32_t>(doc.fileSampleRate);
    uint64_t dataSize = 0;
    for (const Piece& piece : pieces) {
        dataSize += static_cast<uint64_t>(piece.length) * doc.frameSize;
    }
    auto samples = [&](AtomicFile& file) {
        // The first cross-faded entry fades in from silence, as it does when replayed.
        CrossFader fader;
        std::vector<uint8_t> block;
        for (const Piece& piece : pieces) {
            const size_t bytes = static_cast<size_t>(piece.length) * doc.frameSize;
            if (piece.entry->fade) {
                fader.crossFade(doc, piece.start, piece.length, block);
                if (!file.write(block.data(), bytes)) {
                    return false;
                }
            } else if (!file.write(
                           doc.data.data() + static_cast<size_t>(piece.start) * doc.frameSize,
                           bytes)) {
                return false;
            }
        }
        return true;
    };
    return WavWriter::write(path, format, dataSize, samples, cuesOf(pieces, wavFileName), ui);
}

}  // namespace murmelix
