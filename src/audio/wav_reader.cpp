#include "audio/wav_reader.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

#include "audio/cue_text.h"
#include "audio/riff_reader.h"
#include "base/absolute_path.h"
#include "base/byte_order.h"
#include "base/input_file.h"
#include "base/memory_advice.h"
#include "base/span_byte_source.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

constexpr const char* kCannotOpen = "Can't open WAV file '%s'.";
constexpr const char* kNotRegular = "\nIt is not a regular file.";
constexpr const char* kCannotRead = "Can't read WAV file '%s' (%s).";
constexpr const char* kDataCut =
    "The data chunk of WAV file '%s' holds %llu bytes, more than a document can hold; only "
    "the first %llu bytes (%llu whole frames) are loaded.";
constexpr const char* kMmioError = "MMIO Error %d";
constexpr const char* kCueCountMismatch =
    "Number of found Cue points doesn't match size of cue chunk.";
constexpr const char* kNotStandardPcm =
    "This WAV file is not a standard PCM file. Murmelix can only process mono or stereo "
    "Windows PCM files with 8 or 16 bits per sample. Please choose another WAV file, or try "
    "to open this file in a sound editor and then save it as a Windows PCM file.";

constexpr size_t kCuePointSize = 24;

// What a parse found: the sample bytes stay in the file until the format has been
// accepted.
struct ParsedWave {
    WaveFormat format;
    uint64_t samplesOffset = 0;
    uint64_t samplesSize = 0;  // what the file really holds of the declared size
    std::vector<CuePoint> cues;
};

int readFormat(RiffReader& riff, const RiffChunk& form, WaveFormat& format) {
    RiffChunk chunk;
    if (const int error = riff.descend(chunk, &form, RiffReader::Find::Chunk, fourCC("fmt "))) {
        return error;
    }
    uint8_t record[WaveFormat::kRecordSize] = {};
    const size_t got = riff.read(chunk, record, sizeof record);
    format = WaveFormat::fromBytes(record, static_cast<uint32_t>(got));
    return riff.ascend(chunk);
}

CuePoint cuePointFrom(const uint8_t* bytes) {
    CuePoint cue;
    cue.identifier = loadU32LE(bytes);
    // The region starts at the sample offset (the last field), not at the "position".
    cue.position = loadU32LE(bytes + 20);
    return cue;
}

// Reads the cue chunk after the data; false when there are no cue points to keep.
// leftCleanly tells whether the reader now stands after the cue chunk.
bool readCuePoints(RiffReader& riff, const RiffChunk& form, std::vector<CuePoint>& cues,
                   bool& leftCleanly, UserInterface& ui) {
    RiffChunk chunk;
    if (riff.descend(chunk, &form, RiffReader::Find::Chunk, fourCC("cue ")) != 0) {
        return false;
    }
    uint8_t countBytes[4] = {};
    riff.read(chunk, countBytes, sizeof countBytes);
    const uint32_t count = loadU32LE(countBytes);
    if (count == 0) {
        return false;
    }
    // A truncated chunk cannot hold what its size promises, whatever the count says.
    const uint64_t expected = 4 + static_cast<uint64_t>(count) * kCuePointSize;
    if (expected != chunk.declaredSize || chunk.truncated()) {
        ui.showError(kCueCountMismatch);
        return false;
    }
    std::vector<uint8_t> table;
    if (!riff.readData(chunk, table)) {
        return false;
    }
    cues.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        cues.push_back(cuePointFrom(table.data() + 4 + i * kCuePointSize));
    }
    leftCleanly = riff.ascend(chunk) == 0;
    return true;
}

std::string textAfterIdentifier(std::span<const uint8_t> data) {
    const auto text = data.subspan(4);
    return CueText::limit({reinterpret_cast<const char*>(text.data()), text.size()});
}

// The first cue point with each non-zero identifier; later equal identifiers get nothing.
std::unordered_map<uint32_t, size_t> firstCueByIdentifier(const std::vector<CuePoint>& cues) {
    std::unordered_map<uint32_t, size_t> first;
    first.reserve(cues.size());
    for (size_t i = 0; i < cues.size(); ++i) {
        if (cues[i].identifier != 0) {
            first.emplace(cues[i].identifier, i);
        }
    }
    return first;
}

// One walk over the list's sub-chunks of one kind, from the start of the list. A chunk too
// short for its identifier (or an ltxt too short for its length) is skipped.
template <typename Apply>
void walkSubChunks(RiffReader& riff, const RiffChunk& list, uint32_t kind, size_t minimumSize,
                   Apply apply) {
    riff.seek(list.dataOffset + std::min<size_t>(4, list.size));
    RiffChunk sub;
    std::vector<uint8_t> bytes;
    while (riff.descend(sub, &list, RiffReader::Find::Chunk, kind) == 0) {
        if (sub.size >= minimumSize && riff.readData(sub, bytes)) {
            apply(std::span<const uint8_t>(bytes));
        }
        if (riff.ascend(sub) != 0) {
            break;
        }
    }
}

void readCueTexts(RiffReader& riff, const RiffChunk& list, std::vector<CuePoint>& cues) {
    const auto first = firstCueByIdentifier(cues);
    auto cueFor = [&](std::span<const uint8_t> data) -> CuePoint* {
        const auto found = first.find(loadU32LE(data.data()));
        return found == first.end() ? nullptr : &cues[found->second];
    };
    walkSubChunks(riff, list, fourCC("ltxt"), 8, [&](std::span<const uint8_t> data) {
        if (CuePoint* cue = cueFor(data)) {
            cue->length = loadU32LE(data.data() + 4);
        }
    });
    walkSubChunks(riff, list, fourCC("labl"), 4, [&](std::span<const uint8_t> data) {
        if (CuePoint* cue = cueFor(data)) {
            cue->label = textAfterIdentifier(data);
        }
    });
    walkSubChunks(riff, list, fourCC("note"), 4, [&](std::span<const uint8_t> data) {
        if (CuePoint* cue = cueFor(data)) {
            cue->note = textAfterIdentifier(data);
        }
    });
}

// Cue points need the associated data list that follows them; without one they are dropped.
void readCues(RiffReader& riff, const RiffChunk& form, std::vector<CuePoint>& cues,
              UserInterface& ui) {
    bool leftCleanly = false;
    if (!readCuePoints(riff, form, cues, leftCleanly, ui)) {
        cues.clear();
        return;
    }
    if (!leftCleanly) {
        return;
    }
    RiffChunk list;
    if (riff.descend(list, &form, RiffReader::Find::List) != 0) {
        cues.clear();
        return;
    }
    readCueTexts(riff, list, cues);
}

// The chunk walk proper; gives 0 or the RIFF error code that stops the load.
int parse(ByteSource& source, ParsedWave& wave, UserInterface& ui) {
    RiffReader riff(source);
    RiffChunk form;
    // The form type is deliberately not compared with "WAVE".
    if (const int error = riff.descend(form, nullptr, RiffReader::Find::Riff)) {
        return error;
    }
    if (const int error = readFormat(riff, form, wave.format)) {
        return error;
    }
    RiffChunk data;
    if (const int error = riff.descend(data, &form, RiffReader::Find::Chunk, fourCC("data"))) {
        return error;
    }
    // The declared size is believed only as far as the file backs it.
    wave.samplesOffset = data.dataOffset;
    wave.samplesSize = data.size;
    if (riff.ascend(data) == 0) {
        readCues(riff, form, wave.cues, ui);
    }
    return 0;
}

// The sample bytes a document takes: all of them, or as many whole frames as fit.
std::vector<uint8_t> takeSamples(ByteSource& source, const ParsedWave& wave,
                                 const std::string& name, size_t maxDataSize, UserInterface& ui) {
    uint64_t size = wave.samplesSize;
    if (size > maxDataSize) {
        const uint64_t frameSize =
            static_cast<uint64_t>(wave.format.channels) * (wave.format.bitsPerSample / 8u);
        size = maxDataSize - maxDataSize % frameSize;
        ui.messageBox(
            "Warning",
            formatText(kDataCut, name.c_str(), static_cast<unsigned long long>(wave.samplesSize),
                       static_cast<unsigned long long>(size),
                       static_cast<unsigned long long>(size / frameSize)),
            MessageIcon::Warning, MessageButtons::Ok);
    }
    std::vector<uint8_t> samples;
    samples.reserve(static_cast<size_t>(size));
    MemoryAdvice::preferHugePages(samples.data(), samples.capacity());
    samples.resize(static_cast<size_t>(size));
    if (!source.read(wave.samplesOffset, samples.data(), samples.size())) {
        samples.clear();
    }
    return samples;
}

}  // namespace

int WavReader::readFile(const std::string& path, AudioDocument& doc, UserInterface& ui) {
    // Kept and shown so that it still names the file after the current folder changed.
    const std::string name = AbsolutePath::of(path);
    InputFile file;
    if (!file.open(path)) {
        doc.clear();
        std::string message = formatText(kCannotOpen, name.c_str());
        if (file.error() == InputFile::kNotRegularFile) {
            message += kNotRegular;
        }
        ui.showError(message);
        return 1;
    }
    return readSource(file, name, doc, ui);
}

int WavReader::readBytes(std::span<const uint8_t> bytes, const std::string& name,
                         AudioDocument& doc, UserInterface& ui) {
    SpanByteSource source(bytes);
    return readSource(source, name, doc, ui);
}

int WavReader::readSource(ByteSource& source, const std::string& name, AudioDocument& doc,
                          UserInterface& ui, size_t maxDataSize) {
    ParsedWave wave;
    const int error = parse(source, wave, ui);
    if (!source.failure().empty()) {
        return refuseUnreadable(source, name, doc, ui);
    }
    if (error != 0) {
        doc.clear();
        ui.showError(formatText(kMmioError, error));
        return 1;
    }
    if (!wave.format.isSupportedPcm()) {
        doc.clear();
        ui.showError(kNotStandardPcm);
        return 1;
    }
    // Read before clearing: the source may be the document's own samples.
    std::vector<uint8_t> samples = takeSamples(source, wave, name, maxDataSize, ui);
    if (!source.failure().empty()) {
        return refuseUnreadable(source, name, doc, ui);
    }
    doc.clear();
    doc.format = wave.format;
    doc.data = std::move(samples);
    doc.cues = std::move(wave.cues);
    doc.commit(name);
    return 0;
}

int WavReader::refuseUnreadable(const ByteSource& source, const std::string& name,
                                AudioDocument& doc, UserInterface& ui) {
    doc.clear();
    ui.showError(formatText(kCannotRead, name.c_str(), source.failure().c_str()));
    return 1;
}

}  // namespace murmelix
