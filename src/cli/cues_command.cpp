#include "cli/cues_command.h"

#include "cli/cues_find_command.h"

#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "base/absolute_path.h"
#include "labels/cue_identifiers.h"
#include "labels/label_file.h"

namespace murmelix::cli {

namespace {

int failed(ConsoleUserInterface& ui, const Result& result) {
    ui.showError(result.message());
    return kExitFailed;
}

int exportCues(const std::vector<std::string>& args, const std::optional<std::string>& output,
               ConsoleUserInterface& ui) {
    if (args.size() != 2 || !output) {
        throw UsageError("cues export expects an input WAV file and -o OUT.txt|OUT.TextGrid");
    }
    AudioDocument doc;
    if (WavReader::readFile(AbsolutePath::of(args[1]), doc, ui) != 0) {
        return kExitFailed;
    }
    const Result written = LabelFile::write(*output, doc);
    return written.ok() ? kExitOk : failed(ui, written);
}

int importCues(const std::vector<std::string>& args, const std::optional<std::string>& output,
               bool add, const std::optional<std::string>& tier, ConsoleUserInterface& ui) {
    if (args.size() != 3 || !output) {
        throw UsageError("cues import expects an input WAV file, a label file and -o OUT.wav");
    }
    AudioDocument doc;
    if (WavReader::readFile(AbsolutePath::of(args[1]), doc, ui) != 0) {
        return kExitFailed;
    }
    LabelFile::Contents contents;
    if (const Result read = LabelFile::read(args[2], contents); !read.ok()) {
        return failed(ui, read);
    }
    std::vector<CuePoint> cues;
    const Result converted = LabelFile::cuesOf(contents, tier, args[2], doc, cues);
    if (!converted.ok()) {
        return failed(ui, converted);
    }
    doc.cues = add ? CueIdentifiers::merged(std::move(doc.cues), cues) : std::move(cues);
    return WavWriter::writeDocument(*output, doc, ui) == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int runCues(CommandLine& line, ConsoleUserInterface& ui) {
    const auto output = line.value("-o");
    const bool add = line.flag("--add");
    const auto tier = line.value("--tier");
    const CuesFindOptions findOptions = CuesFindOptions::take(line);
    const auto args = line.positionals();
    if (args.empty() || (args[0] != "export" && args[0] != "import" && args[0] != "find")) {
        throw UsageError("expects export, import or find");
    }
    if (args[0] == "find") {
        if (tier) {
            throw UsageError("--tier belongs to cues import");
        }
        return runCuesFind(args, output, add, findOptions, ui);
    }
    if (findOptions.any()) {
        throw UsageError("the options of speech regions belong to cues find");
    }
    if (args[0] == "export") {
        if (add || tier) {
            throw UsageError("--add and --tier belong to cues import");
        }
        return exportCues(args, output, ui);
    }
    return importCues(args, output, add, tier, ui);
}

}  // namespace murmelix::cli
