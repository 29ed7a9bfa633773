#include "cli/session_command.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <iterator>
#include <limits>
#include "base/atomic_file.h"

#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "base/text_format.h"
#include "base/utf8_text.h"
#include "cli/json_writer.h"
#include "cli/session_access.h"
#include "session/session_date_time.h"
#include "session/session_file_operations.h"
#include "session/session_file_reader.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix::cli {

namespace {

struct Subcommand {
    const char* name;
    int (*run)(CommandLine& line, ConsoleUserInterface& ui);
};

// Every option any subcommand takes, so that the subcommand word can be found before the
// subcommand itself takes its options; a subcommand given another's option still fails.
const char* const kAllFlags[] = {"--json"};
const char* const kAllValueOptions[] = {"--sequence", "-o"};

std::string subcommandOf(CommandLine line) {
    for (const char* flag : kAllFlags) {
        line.flag(flag);
    }
    for (const char* option : kAllValueOptions) {
        line.value(option);
    }
    const auto arguments = line.positionals();
    if (arguments.empty()) {
        throw UsageError("missing subcommand");
    }
    return arguments.front();
}

// The subcommand's own plain arguments, after its name.
std::vector<std::string> argumentsAfter(const CommandLine& line, size_t expected) {
    auto arguments = line.positionals();
    arguments.erase(arguments.begin());
    if (arguments.size() != expected) {
        throw UsageError(expected == 1 ? "expects one session file" : "wrong number of arguments");
    }
    return arguments;
}

// Streamed one entry at a time: a session of a million entries makes a text of hundreds
// of megabytes.
void printSessionJson(const SessionFileContents& contents, std::FILE* out) {
    JsonWriter json(out);
    json.beginObject();
    json.key("version").value(contents.version);
    json.key("wav_file").value(JsonWriter::text(contents.wavFileName));
    json.key("sequences").beginArray();
    for (const SEQUENCE& sequence : contents.sequences) {
        json.beginObject();
        json.key("date_time").value(JsonWriter::text(sequence.dateTime));
        json.key("question").value(JsonWriter::text(sequence.question));
        json.key("answer").value(JsonWriter::text(sequence.answer));
        json.key("entries").beginArray();
        for (const SEGMENT& entry : sequence.entries) {
            json.value(Json{{"start", entry.start},
                            {"length", entry.length},
                            {"number", entry.number},
                            {"index", entry.index},
                            {"label", JsonWriter::text(entry.label)},
                            {"fade", entry.fade}});
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
    json.endObject();
    std::fputc('\n', out);
}

void printSequence(const SEQUENCE& sequence, size_t position, size_t count) {
    std::printf("\nSequence %zu of %zu\n", position, count);
    std::printf("  Date/Time: %s\n",
                Utf8Text::fromBytes(SessionDateTime::displayFormOf(sequence.dateTime)).c_str());
    std::printf("  Question:  %s\n", Utf8Text::fromBytes(sequence.question).c_str());
    std::printf("  Answer:    %s\n", Utf8Text::fromBytes(sequence.answer).c_str());
    std::printf("  Entries:   %zu\n", sequence.entries.size());
    if (sequence.entries.empty()) {
        return;
    }
    std::printf("    %8s %11s %11s %8s  %-4s  %s\n", "number", "start", "length", "index", "fade",
                "label");
    for (const SEGMENT& entry : sequence.entries) {
        std::printf("    %8d %11d %11d %8d  %-4s  %s\n", entry.number, entry.start, entry.length,
                    entry.index, entry.fade ? "yes" : "", Utf8Text::fromBytes(entry.label).c_str());
    }
}

void printSession(const std::string& path, const SessionFileContents& contents) {
    std::printf("Session file: %s (version %d)\n", Utf8Text::fromBytes(path).c_str(),
                contents.version);
    std::printf("WAV file:     %s\n", Utf8Text::fromBytes(contents.wavFileName).c_str());
    std::printf("Sequences:    %zu\n", contents.sequences.size());
    size_t position = 0;
    for (const SEQUENCE& sequence : contents.sequences) {
        printSequence(sequence, ++position, contents.sequences.size());
    }
}

int runShow(CommandLine& line, ConsoleUserInterface& ui) {
    const bool asJson = line.flag("--json");
    const std::string path = argumentsAfter(line, 1).front();
    SessionFileContents contents;
    if (!readSessionFile(path, contents, ui)) {
        return kExitFailed;
    }
    if (asJson) {
        printSessionJson(contents, stdout);
    } else {
        printSession(path, contents);
    }
    return kExitOk;
}

// The session's WAV file is loaded as the program loads it, then sequence K is written as
// the window's export writes it.
int runExport(CommandLine& line, ConsoleUserInterface& ui) {
    const auto number = line.integer("--sequence", 1, std::numeric_limits<int32_t>::max());
    const auto output = line.value("-o");
    const std::string path = argumentsAfter(line, 1).front();
    if (!number || !output) {
        throw UsageError("expects --sequence K and -o OUT.wav");
    }
    SessionFileContents contents;
    if (!readSessionFile(path, contents, ui)) {
        return kExitFailed;
    }
    if (*number > static_cast<long long>(contents.sequences.size())) {
        ui.showError(formatText("Session file '%s' holds %zu sequences; there is no sequence %lld.",
                                path.c_str(), contents.sequences.size(), *number));
        return kExitFailed;
    }
    AudioDocument doc;
    if (WavReader::readFile(contents.wavFileName, doc, ui) != 0) {
        return kExitFailed;
    }
    const SEQUENCE& sequence = *std::next(contents.sequences.begin(), *number - 1);
    return SequenceWavWriter::write(*output, sequence, doc, contents.wavFileName, ui) == 0
               ? kExitOk
               : kExitFailed;
}

const Subcommand kSubcommands[] = {
    {"show", &runShow},
    {"export", &runExport},
};

}  // namespace

int runSession(CommandLine& line, ConsoleUserInterface& ui) {
    const std::string name = subcommandOf(line);
    for (const Subcommand& subcommand : kSubcommands) {
        if (name == subcommand.name) {
            return subcommand.run(line, ui);
        }
    }
    throw UsageError("unknown subcommand '" + name + "'");
}

}  // namespace murmelix::cli
