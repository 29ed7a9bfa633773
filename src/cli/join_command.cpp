#include "cli/join_command.h"

#include <limits>

#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "base/path_text.h"
#include "base/text_format.h"
#include "cli/file_naming_user_interface.h"

namespace murmelix::cli {

namespace {

std::string labelFor(const std::string& path) {
    return PathText::withoutExtension(PathText::fileNameOf(path));
}

std::string describe(const AudioDocument& doc) {
    return formatText("%d Hz, %d bit, %s", doc.fileSampleRate, doc.bitsPerSample(),
                      doc.channels() == 1 ? "mono" : "stereo");
}

bool sameFormat(const AudioDocument& a, const AudioDocument& b) {
    return a.fileSampleRate == b.fileSampleRate && a.channels() == b.channels() &&
           a.bitsPerSample() == b.bitsPerSample();
}

}  // namespace

int runJoin(CommandLine& line, ConsoleUserInterface& ui) {
    const auto output = line.value("-o");
    const auto inputs = line.positionals();
    if (!output || inputs.empty()) {
        throw UsageError("expects -o OUT.wav and at least one input file");
    }
    AudioDocument joined;
    for (const std::string& input : inputs) {
        AudioDocument part;
        FileNamingUserInterface named(ui, input);
        if (WavReader::readFile(input, part, named) != 0) {
            return kExitFailed;
        }
        // A cue region of length 0 reaches to the end of the data: an empty part would
        // claim every part after it.
        if (part.frameCount == 0) {
            ui.showError(formatText("Can't join '%s': it holds no sample frames.", input.c_str()));
            return kExitFailed;
        }
        if (joined.cues.empty()) {
            joined.format = part.format;
            joined.format.extraSize = 0;
        } else if (!sameFormat(joined, part)) {
            ui.showError(formatText(
                "Can't join '%s': its format (%s) differs from that of '%s' (%s).", input.c_str(),
                describe(part).c_str(), inputs[0].c_str(), describe(joined).c_str()));
            return kExitFailed;
        }
        const int64_t total =
            static_cast<int64_t>(joined.data.size()) + part.frameCount * part.frameSize;
        if (total > std::numeric_limits<int32_t>::max()) {
            ui.showError(formatText("Can't join '%s': the joined recording would exceed 2 GB.",
                                    input.c_str()));
            return kExitFailed;
        }
        CuePoint cue;
        cue.identifier = static_cast<uint32_t>(joined.cues.size() + 1);
        cue.position = static_cast<uint32_t>(joined.frameCount);
        cue.length = static_cast<uint32_t>(part.frameCount);
        cue.label = labelFor(input).substr(0, 255);
        joined.cues.push_back(cue);
        // Whole frames only: a stray trailing byte would shift every later part.
        joined.data.insert(joined.data.end(), part.data.begin(),
                           part.data.begin() + part.frameCount * part.frameSize);
        joined.commit("");
    }
    return WavWriter::writeDocument(*output, joined, ui) == 0 ? kExitOk : kExitFailed;
}

}  // namespace murmelix::cli
