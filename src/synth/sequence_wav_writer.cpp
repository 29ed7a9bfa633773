#include "synth/sequence_wav_writer.h"

#include <algorithm>
#include <vector>

#include "audio/audio_document.h"
#include "audio/wav_writer.h"
#include "base/text_format.h"
#include "base/user_interface.h"
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

// Only the frames of an entry that lie inside the data are kept (a start of -5 with
// length 10 keeps frames 0 to 4). An entry with no frame inside is left out: its cue
// region would have length 0, which readers take as reaching to the end of the data.
std::vector<Piece> piecesOf(const SEQUENCE& sequence, const AudioDocument& doc, size_t& leftOut) {
    std::vector<Piece> pieces;
    pieces.reserve(sequence.entries.size());
    leftOut = 0;
    for (const SEGMENT& entry : sequence.entries) {
        const int64_t begin = std::max<int64_t>(entry.start, 0);
        const int64_t end = std::min<int64_t>(int64_t{entry.start} + entry.length, doc.frameCount);
        if (end <= begin) {
            ++leftOut;
            continue;
        }
        pieces.push_back({static_cast<int32_t>(begin), static_cast<int32_t>(end - begin), &entry});
    }
    return pieces;
}

std::string leftOutMessage(size_t count, const std::string& wavFileName) {
    if (count == 1) {
        return formatText(
            "1 entry of the sequence lies outside the sample data of '%s' and was left out.",
            wavFileName.c_str());
    }
    return formatText(
        "%zu entries of the sequence lie outside the sample data of '%s' and were left out.", count,
        wavFileName.c_str());
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

// The sequence's samples as they sounded, block by block: cross-faded entries fade, the
// first of them in from silence, as they do when replayed.
template <typename Sink>
bool forEachBlock(const std::vector<Piece>& pieces, const AudioDocument& doc, Sink&& sink) {
    CrossFader fader;
    std::vector<uint8_t> block;
    for (const Piece& piece : pieces) {
        const size_t bytes = static_cast<size_t>(piece.length) * doc.frameSize;
        if (piece.entry->fade) {
            fader.crossFade(doc, piece.start, piece.length, block);
            if (!sink(block.data(), bytes)) {
                return false;
            }
        } else if (!sink(doc.data.data() + static_cast<size_t>(piece.start) * doc.frameSize,
                         bytes)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void SequenceWavWriter::render(const SEQUENCE& sequence, const AudioDocument& doc,
                               AudioDocument& out) {
    size_t leftOut = 0;
    const std::vector<Piece> pieces = piecesOf(sequence, doc, leftOut);
    out.clear();
    out.format = doc.format;
    out.format.samplesPerSec = static_cast<uint32_t>(doc.fileSampleRate);
    out.data.clear();
    forEachBlock(pieces, doc, [&out](const uint8_t* bytes, size_t count) {
        out.data.insert(out.data.end(), bytes, bytes + count);
        return true;
    });
    out.cues.clear();
    out.commit("");
}

int SequenceWavWriter::write(const std::string& path, const SEQUENCE& sequence,
                             const AudioDocument& doc, const std::string& wavFileName,
                             UserInterface& ui) {
    size_t leftOut = 0;
    const std::vector<Piece> pieces = piecesOf(sequence, doc, leftOut);
    if (leftOut > 0) {
        ui.messageBox("Warning", leftOutMessage(leftOut, wavFileName), MessageIcon::Warning,
                      MessageButtons::Ok);
    }
    WaveFormat format = doc.format;
    format.samplesPerSec = static_cast<uint32_t>(doc.fileSampleRate);
    uint64_t dataSize = 0;
    for (const Piece& piece : pieces) {
        dataSize += static_cast<uint64_t>(piece.length) * doc.frameSize;
    }
    auto samples = [&](AtomicFile& file) {
        return forEachBlock(pieces, doc, [&file](const uint8_t* bytes, size_t count) {
            return file.write(bytes, count);
        });
    };
    return WavWriter::write(path, format, dataSize, samples, cuesOf(pieces, wavFileName), ui);
}

}  // namespace murmelix
