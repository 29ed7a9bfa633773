#include "cli/import_command.h"

#include <cstdio>

#include "audio/sound_importer.h"
#include "audio/wav_writer.h"
#include "base/absolute_path.h"
#include "base/utf8_text.h"
#include "cli/in_place_output.h"

namespace murmelix::cli {

int runImport(CommandLine& line, ConsoleUserInterface& ui) {
    const auto output = line.value("-o");
    SoundImportOptions options;
    options.channels = static_cast<int>(line.integer("--channels", 1, 2).value_or(0));
    options.bits = static_cast<int>(line.integer("--bits", 8, 16).value_or(0));
    if (options.bits != 0 && options.bits != 8 && options.bits != 16) {
        throw UsageError("--bits must be 8 or 16");
    }
    const auto inputs = line.positionals();
    if (!output || inputs.size() != 1) {
        throw UsageError("expects one input file and -o OUT.wav");
    }
    ImportedSound imported;
    const Result result = SoundImporter::importFile(inputs[0], options, {}, imported);
    if (!result.ok()) {
        ui.showError(result.message());
        return kExitFailed;
    }
    if (const Result refused = InPlaceOutput::check(inputs[0], *output, imported); !refused.ok()) {
        ui.showError(refused.message());
        return kExitFailed;
    }
    if (WavWriter::writeDocument(*output, imported.document, ui) != 0) {
        return kExitFailed;
    }
    // Written to standard output, the file leaves the summary to standard error.
    std::fprintf(*output == "-" ? stderr : stdout, "%sWritten to '%s'.\n",
                 imported.summary().c_str(),
                 Utf8Text::fromBytes(AbsolutePath::of(*output)).c_str());
    return kExitOk;
}

}  // namespace murmelix::cli
