#include "audio/wav_writer.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "audio/cue_text.h"
#include "base/absolute_path.h"
#include "base/byte_order.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

constexpr const char* kCannotOpen = "Can't open WAV file '%s' for writing.";
constexpr const char* kCannotWrite = "Can't write to WAV file '%s'.";

constexpr uint64_t kDataHeader = 36;
constexpr uint64_t kDataStart = kDataHeader + 8;
constexpr uint32_t kFormatChunkSize = 16;
constexpr uint32_t kCuePointSize = 24;
constexpr uint32_t kTextChunkSize = 20;
// Everything after "RIFF" and its size must fit the 32-bit size fields.
constexpr uint64_t kMaxRiffSize = UINT32_MAX;

void appendId(std::string& out, const char (&id)[5]) {
    appendU32LE(out, fourCC(id));
}

// Every size is known before the first byte is written, so the file is written front to
// back: a pipe or standard output gets a complete file too.
std::string fileHeader(const WaveFormat& format, uint64_t riffSize, uint64_t dataSize) {
    uint8_t record[WaveFormat::kRecordSize];
    format.toBytes(record);
    std::string out;
    appendId(out, "RIFF");
    appendU32LE(out, static_cast<uint32_t>(riffSize));
    appendId(out, "WAVE");
    appendId(out, "fmt ");
    appendU32LE(out, kFormatChunkSize);
    out.append(reinterpret_cast<const char*>(record), kFormatChunkSize);
    appendId(out, "data");
    appendU32LE(out, static_cast<uint32_t>(dataSize));
    return out;
}

std::string cueChunk(const std::vector<CuePoint>& cues) {
    std::string out;
    appendId(out, "cue ");
    appendU32LE(out, static_cast<uint32_t>(4 + kCuePointSize * cues.size()));
    appendU32LE(out, static_cast<uint32_t>(cues.size()));
    for (const CuePoint& cue : cues) {
        appendU32LE(out, cue.identifier);
        appendU32LE(out, cue.position);
        appendId(out, "data");
        appendU32LE(out, 0);  // chunk start
        appendU32LE(out, 0);  // block start
        appendU32LE(out, cue.position);
    }
    return out;
}

// labl or note: the identifier, then the text with its zero byte, padded to even length.
void appendTextChunk(std::string& out, const char (&id)[5], uint32_t identifier,
                     const std::string& text) {
    const std::string kept = CueText::limit(text);
    const size_t padded = (kept.size() + 2) & ~size_t{1};
    appendId(out, id);
    appendU32LE(out, static_cast<uint32_t>(4 + padded));
    appendU32LE(out, identifier);
    out += kept;
    out.append(padded - kept.size(), '\0');
}

// The LIST "adtl" chunk whole, its size included: for each cue its ltxt, labl and note.
std::string associatedDataList(const std::vector<CuePoint>& cues) {
    std::string out;
    appendId(out, "LIST");
    appendU32LE(out, 0);
    appendId(out, "adtl");
    for (const CuePoint& cue : cues) {
        appendId(out, "ltxt");
        appendU32LE(out, kTextChunkSize);
        appendU32LE(out, cue.identifier);
        appendU32LE(out, cue.length);
        appendId(out, "rgn ");
        out.append(8, '\0');  // country, language, dialect, code page
        appendTextChunk(out, "labl", cue.identifier, cue.label);
        appendTextChunk(out, "note", cue.identifier, cue.note);
    }
    storeU32LE(reinterpret_cast<uint8_t*>(out.data()) + 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

// What follows the samples: the pad byte, the cue chunk and the list.
std::string fileTail(uint64_t dataSize, const std::vector<CuePoint>& cues) {
    std::string tail((dataSize & 1) != 0 ? 1 : 0, '\0');
    tail += cueChunk(cues);
    tail += associatedDataList(cues);
    return tail;
}

std::string writeErrorMessage(const std::string& path, int error) {
    if (error == 0) {
        return formatText(kCannotWrite, path.c_str());
    }
    return formatText("Can't write to WAV file '%s' (%s).", path.c_str(), std::strerror(error));
}

}  // namespace

int WavWriter::writeDocument(const std::string& path, AudioDocument& doc, UserInterface& ui) {
    WaveFormat format = doc.format;
    format.samplesPerSec = static_cast<uint32_t>(doc.fileSampleRate);
    const auto samples = [&doc](AtomicFile& file) {
        return file.write(doc.data.data(), doc.data.size());
    };
    const Outcome outcome = writeFile(path, format, doc.data.size(), samples, doc.cues, ui);
    if (outcome != Outcome::NotOpened) {
        doc.format.samplesPerSec = format.samplesPerSec;
    }
    return outcome == Outcome::Written ? 0 : 1;
}

int WavWriter::write(const std::string& path, const WaveFormat& format, uint64_t dataSize,
                     const SampleProducer& samples, const std::vector<CuePoint>& cues,
                     UserInterface& ui) {
    return writeFile(path, format, dataSize, samples, cues, ui) == Outcome::Written ? 0 : 1;
}

WavWriter::Outcome WavWriter::writeFile(const std::string& path, const WaveFormat& format,
                                        uint64_t dataSize, const SampleProducer& samples,
                                        const std::vector<CuePoint>& cues, UserInterface& ui) {
    AtomicFile file(path);
    const std::string shown = AbsolutePath::of(path);
    if (!file.open()) {
        ui.showError(formatText(kCannotOpen, shown.c_str()));
        return Outcome::NotOpened;
    }
    const std::string tail = fileTail(dataSize, cues);
    const uint64_t riffSize = kDataStart - 8 + dataSize + tail.size();
    int error = EFBIG;
    if (riffSize <= kMaxRiffSize) {
        const bool written = file.write(fileHeader(format, riffSize, dataSize)) && samples(file) &&
                             file.position() == kDataStart + dataSize && file.write(tail) &&
                             file.commit();
        if (written) {
            return Outcome::Written;
        }
        error = file.error();
    }
    file.discard();
    ui.showError(writeErrorMessage(shown, error));
    return Outcome::NotWritten;
}

}  // namespace murmelix
