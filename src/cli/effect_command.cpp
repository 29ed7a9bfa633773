#include "cli/effect_command.h"

#include "audio/audio_document.h"
#include "audio/signal_effects.h"
#include "audio/wav_reader.h"
#include "audio/wav_writer.h"
#include "base/absolute_path.h"
#include "cli/file_naming_user_interface.h"

namespace murmelix::cli {

int runEffect(CommandLine& line, ConsoleUserInterface& ui) {
    const auto delay = line.integer("--delay", 0, 1000);
    const auto decay = line.integer("--decay", 0, 100);
    const auto args = line.positionals();
    if (args.size() != 3) {
        throw UsageError("expects an effect name, an input and an output file");
    }
    const std::string& effect = args[0];
    if (effect != "reverse" && effect != "echo" && effect != "normalize") {
        throw UsageError("unknown effect '" + effect + "' (reverse, echo or normalize)");
    }
    if (effect != "echo" && (delay || decay)) {
        throw UsageError("--delay and --decay belong to the echo effect");
    }
    AudioDocument doc;
    const std::string input = AbsolutePath::of(args[1]);
    FileNamingUserInterface named(ui, input);
    if (WavReader::readFile(input, doc, named) != 0) {
        return kExitFailed;
    }
    if (effect == "reverse") {
        SignalEffects::reverse(doc);
    } else if (effect == "echo") {
        SignalEffects::echo(doc, static_cast<int>(delay.value_or(100)),
                            static_cast<int>(decay.value_or(50)));
    } else {
        SignalEffects::normalize(doc);
    }
    return WavWriter::writeDocument(args[2], doc, ui) == 0 ? kExitOk : kExitFailed;
}

}  // namespace murmelix::cli
