#include "cli/info_command.h"

#include <cstdio>

#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "base/absolute_path.h"
#include "base/utf8_text.h"
#include "cli/json_writer.h"

namespace murmelix::cli {

namespace {

std::string documentJson(const AudioDocument& doc) {
    JsonWriter json;
    json.beginObject();
    json.key("format_tag").value(int64_t{doc.format.formatTag});
    json.key("channels").value(int64_t{doc.format.channels});
    json.key("sample_rate").value(int64_t{doc.format.samplesPerSec});
    json.key("avg_bytes_per_sec").value(int64_t{doc.format.avgBytesPerSec});
    json.key("block_align").value(int64_t{doc.format.blockAlign});
    json.key("bits_per_sample").value(int64_t{doc.format.bitsPerSample});
    json.key("extra_size").value(int64_t{doc.format.extraSize});
    json.key("data_size").value(int64_t{doc.dataSize()});
    json.key("frame_size").value(int64_t{doc.frameSize});
    json.key("frame_count").value(int64_t{doc.frameCount});
    json.key("cues").beginArray();
    for (const CuePoint& cue : doc.cues) {
        json.beginObject();
        json.key("id").value(int64_t{cue.identifier});
        json.key("position").value(int64_t{cue.position});
        json.key("length").value(int64_t{cue.length});
        json.key("label").value(cue.label);
        json.key("note").value(cue.note);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    return json.text();
}

void printDocument(const AudioDocument& doc) {
    std::printf("File:      %s\n", Utf8Text::fromBytes(doc.fileName).c_str());
    std::printf("Format:    %d Hz, %d bit, %s\n", doc.fileSampleRate, doc.bitsPerSample(),
                doc.channels() == 1 ? "Mono" : "Stereo");
    std::printf("Data:      %d bytes, %d frames of %d bytes\n", doc.dataSize(), doc.frameCount,
                doc.frameSize);
    std::printf("Duration:  %.3f s\n", doc.durationSeconds());
    std::printf("Cues:      %d\n", doc.cueCount());
    for (const CuePoint& cue : doc.cues) {
        std::printf("  #%-5u at %10u, %10u frames  %s", cue.identifier, cue.position, cue.length,
                    JsonWriter::quoted(cue.label).c_str());
        if (!cue.note.empty()) {
            std::printf("  (note %s)", JsonWriter::quoted(cue.note).c_str());
        }
        std::printf("\n");
    }
}

}  // namespace

int runInfo(CommandLine& line, ConsoleUserInterface& ui) {
    const bool json = line.flag("--json");
    const auto files = line.positionals();
    if (files.size() != 1) {
        throw UsageError("expects exactly one WAV file");
    }
    AudioDocument doc;
    if (WavReader::readFile(AbsolutePath::of(files[0]), doc, ui) != 0) {
        return kExitFailed;
    }
    if (json) {
        std::printf("%s\n", documentJson(doc).c_str());
    } else {
        printDocument(doc);
    }
    return kExitOk;
}

}  // namespace murmelix::cli
