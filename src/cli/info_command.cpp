#include "cli/info_command.h"

#include <unistd.h>

#include <cstdio>

#include "audio/audio_document.h"
#include "audio/riff_marker_reader.h"
#include "audio/sound_file_info.h"
#include "audio/wav_reader.h"
#include "base/absolute_path.h"
#include "base/input_file.h"
#include "base/path_text.h"
#include "base/text_format.h"
#include "base/utf8_text.h"
#include "cli/held_messages.h"
#include "cli/json_writer.h"

namespace murmelix::cli {

namespace {

Json documentJson(const AudioDocument& doc) {
    Json cues = Json::array();
    for (const CuePoint& cue : doc.cues) {
        cues.push_back(Json{{"id", cue.identifier},
                            {"position", cue.position},
                            {"length", cue.length},
                            {"label", JsonWriter::text(cue.label)},
                            {"note", JsonWriter::text(cue.note)}});
    }
    return {{"format_tag", doc.format.formatTag},
            {"channels", doc.format.channels},
            {"sample_rate", doc.format.samplesPerSec},
            {"avg_bytes_per_sec", doc.format.avgBytesPerSec},
            {"block_align", doc.format.blockAlign},
            {"bits_per_sample", doc.format.bitsPerSample},
            {"extra_size", doc.format.extraSize},
            {"data_size", doc.dataSize()},
            {"frame_size", doc.frameSize},
            {"frame_count", doc.frameCount},
            {"cues", cues}};
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

bool isRiffWave(const SoundFileInfo& info) {
    return info.container() == SF_FORMAT_WAV || info.container() == SF_FORMAT_WAVEX ||
           info.container() == SF_FORMAT_RF64;
}

std::string importCommand(const std::string& path) {
    // Never suggest writing over the file itself.
    std::string target = PathText::withoutExtension(path) + ".wav";
    target = target == path ? "OUT.wav" : PathText::fileNameOf(target);
    return formatText("murmelix-cli import '%s' -o '%s'", path.c_str(), target.c_str());
}

// The reader refused the file. When libsndfile knows it, say what it is and how to import
// it; a WAV file keeps the reader's own reason in front, other formats get only the
// explanation (the reader's chunk error says nothing about a FLAC file).
void explainRefusal(const std::string& path, const HeldMessages& reader, UserInterface& ui) {
    SoundFileInfo info;
    const Result probed = SoundFileInfo::probe(path, info);
    if (!probed.ok()) {
        reader.showOn(ui);
        // The reader's reason does not always name the file; a missing one was named.
        if (::access(path.c_str(), R_OK) == 0) {
            ui.showError(probed.message());
        }
        return;
    }
    if (isRiffWave(info)) {
        reader.showOn(ui);
    }
    ui.showError(formatText("'%s' is a %s file, which Murmelix imports: %s", path.c_str(),
                            info.describe().c_str(), importCommand(path).c_str()));
}

// The reader drops cue points whose texts stand in a "list" chunk spelt in lower case (it
// wants "LIST"), and says nothing; the import reads them.
void warnOfLowercaseList(const std::string& path, const AudioDocument& doc, UserInterface& ui) {
    InputFile file;
    bool lowercase = false;
    if (!doc.cues.empty() || !file.open(path) || RiffMarkerReader::read(file, &lowercase).empty() ||
        !lowercase) {
        return;
    }
    ui.messageBox("Warning",
                  formatText("'%s' holds cue labels in a lowercase 'list' chunk, which only the "
                             "import reads: %s",
                             path.c_str(), importCommand(path).c_str()),
                  MessageIcon::Warning, MessageButtons::Ok);
}

}  // namespace

int runInfo(CommandLine& line, ConsoleUserInterface& ui) {
    const bool json = line.flag("--json");
    const auto files = line.positionals();
    if (files.size() != 1) {
        throw UsageError("expects exactly one WAV file");
    }
    AudioDocument doc;
    const std::string path = AbsolutePath::of(files[0]);
    HeldMessages reader;
    const int read = WavReader::readFile(path, doc, reader);
    if (read != 0) {
        explainRefusal(path, reader, ui);
        return kExitFailed;
    }
    reader.showOn(ui);
    warnOfLowercaseList(path, doc, ui);
    if (json) {
        std::printf("%s\n", documentJson(doc).dump().c_str());
    } else {
        printDocument(doc);
    }
    return kExitOk;
}

}  // namespace murmelix::cli
