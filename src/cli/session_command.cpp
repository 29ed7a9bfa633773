#include "cli/session_command.h"

#include <cstdio>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "app/held_messages.h"
#include "app/sequence_transcriber.h"
#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "base/text_format.h"
#include "base/utf8_text.h"
#include "cli/json_writer.h"
#include "cli/session_access.h"
#include "cli/subcommands.h"
#include "session/played_words.h"
#include "session/sequence_explanation.h"
#include "session/session_date_time.h"
#include "session/session_file_operations.h"
#include "session/session_file_reader.h"
#include "session/session_side_notes.h"
#include "session/session_table.h"
#include "synth/sequence_wav_writer.h"

namespace murmelix::cli {

namespace {

// The subcommand's own plain arguments, after its name.
std::vector<std::string> argumentsAfter(const CommandLine& line, size_t expected) {
    auto arguments = line.positionals();
    arguments.erase(arguments.begin());
    if (arguments.size() != expected) {
        throw UsageError(expected == 1 ? "expects one session file" : "wrong number of arguments");
    }
    return arguments;
}

// The cue regions of the session's recording, by which the words a sequence played are told;
// none, with the reason, when the recording cannot be read (the session is shown all the same).
struct RecordingRegions {
    std::vector<CuePoint> regions;
    std::string problem;
};

RecordingRegions regionsOf(const SessionFileContents& contents, UserInterface& ui) {
    AudioDocument doc;
    HeldMessages held(ui);
    const bool read = WavReader::readFile(contents.wavFileName, doc, held) == 0;
    held.drop();
    if (!read) {
        return {{},
                formatText("the recording '%s' cannot be read",
                           Utf8Text::fromBytes(contents.wavFileName).c_str())};
    }
    return {std::move(doc.cues), {}};
}

std::string noPlayedWords(const RecordingRegions& recording) {
    return recording.problem.empty() ? "the recording has no labelled regions" : recording.problem;
}

Json scoreJson(const std::optional<AnswerScore>& score) {
    if (!score) {
        return nullptr;
    }
    return Json{
        {"answer_words", score->answerWords},
        {"found", score->found},
        {"found_share", score->foundShare()},
        {"word_error_rate", score->wordErrorRate ? Json(*score->wordErrorRate) : Json(nullptr)}};
}

void addExplanationJson(JsonWriter& json, const SEQUENCE& sequence,
                        const SequenceExplanation& explained, const RecordingRegions& recording) {
    const auto& machine = sequence.machineWords;
    if (!explained.played) {
        json.key("played_words").value(nullptr);
        json.key("played_words_note").value(noPlayedWords(recording));
    } else {
        Json words = Json::array();
        for (const PlayedWord& word : *explained.played) {
            words.push_back(Json{{"word", JsonWriter::text(word.label)},
                                 {"heard", word.heard},
                                 {"written", JsonWriter::text(word.written())}});
        }
        json.key("played_words").value(words);
    }
    Json heard = nullptr;
    if (machine) {
        heard = Json::array();
        for (const MachineWord& word : *machine) {
            heard.push_back(Json{{"word", JsonWriter::text(word.word)},
                                 {"confidence", word.confidence},
                                 {"start", word.start},
                                 {"end", word.end}});
        }
    }
    json.key("machine_words").value(heard);
    Json madeWith = nullptr;
    for (const std::string& argument : sequence.madeWith) {
        madeWith.push_back(JsonWriter::text(argument));
    }
    json.key("made_with").value(madeWith);
    json.key("scores").value(Json{{"played", scoreJson(explained.playedScore)},
                                  {"machine", scoreJson(explained.machineScore)}});
}

// Streamed one entry at a time: a session of a million entries makes a text of hundreds
// of megabytes.
void printSessionJson(const SessionFileContents& contents, const RecordingRegions& recording,
                      std::FILE* out) {
    JsonWriter json(out);
    json.beginObject();
    json.key("version").value(contents.version);
    json.key("wav_file").value(JsonWriter::text(contents.wavFileName));
    json.key("sequences").beginArray();
    const PlayedWords words(recording.regions);
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
        addExplanationJson(json, sequence, SequenceExplanation::of(sequence, words), recording);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    std::fputc('\n', out);
}

void printSequence(const SEQUENCE& sequence, size_t position, size_t count,
                   const RecordingRegions& recording, const PlayedWords& words) {
    std::printf("\nSequence %zu of %zu\n", position, count);
    std::printf("  Date/Time: %s\n",
                Utf8Text::fromBytes(SessionDateTime::displayFormOf(sequence.dateTime)).c_str());
    std::printf("  Question:  %s\n", Utf8Text::fromBytes(sequence.question).c_str());
    std::printf("  Answer:    %s\n", Utf8Text::fromBytes(sequence.answer).c_str());
    const SequenceExplanation explained = SequenceExplanation::of(sequence, words);
    for (const auto& [caption, text] : explained.lines(sequence, noPlayedWords(recording))) {
        std::printf("  %-11s%s\n", (caption + ":").c_str(), Utf8Text::fromBytes(text).c_str());
    }
    if (!sequence.madeWith.empty()) {
        std::printf("  Made with: %s\n", Utf8Text::fromBytes(sequence.madeWithText()).c_str());
    }
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

void printSession(const std::string& path, const SessionFileContents& contents,
                  const RecordingRegions& recording) {
    std::printf("Session file: %s (version %d)\n", Utf8Text::fromBytes(path).c_str(),
                contents.version);
    std::printf("WAV file:     %s\n", Utf8Text::fromBytes(contents.wavFileName).c_str());
    std::printf("Sequences:    %zu\n", contents.sequences.size());
    size_t position = 0;
    const PlayedWords words(recording.regions);
    for (const SEQUENCE& sequence : contents.sequences) {
        printSequence(sequence, position + 1, contents.sequences.size(), recording, words);
        ++position;
    }
}

int runShow(CommandLine& line, ConsoleUserInterface& ui) {
    const bool asJson = line.flag("--json");
    const std::string path = argumentsAfter(line, 1).front();
    SessionFileContents contents;
    if (!readSessionFile(path, contents, ui)) {
        return kExitFailed;
    }
    const RecordingRegions recording = regionsOf(contents, ui);
    if (asJson) {
        printSessionJson(contents, recording, stdout);
    } else {
        printSession(path, contents, recording);
    }
    return kExitOk;
}

// The session file and its recording, loaded as the program loads them, with sequence
// `number` (when given) there; false when the person has been told why not.
bool openWithRecording(const std::string& path, const std::optional<long long>& number,
                       SessionFileContents& contents, AudioDocument& doc, UserInterface& ui) {
    if (!readSessionFile(path, contents, ui)) {
        return false;
    }
    if (number && *number > static_cast<long long>(contents.sequences.size())) {
        ui.showError(formatText("Session file '%s' holds %zu sequences; there is no sequence %lld.",
                                path.c_str(), contents.sequences.size(), *number));
        return false;
    }
    return WavReader::readFile(contents.wavFileName, doc, ui) == 0;
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
    AudioDocument doc;
    if (!openWithRecording(path, number, contents, doc, ui)) {
        return kExitFailed;
    }
    const SEQUENCE& sequence = *std::next(contents.sequences.begin(), *number - 1);
    return SequenceWavWriter::write(*output, sequence, doc, contents.wavFileName, ui) == 0
               ? kExitOk
               : kExitFailed;
}

int failedWith(UserInterface& ui, const std::string& message) {
    ui.showError(message);
    return kExitFailed;
}

// One row a sequence, for analysis tools: what was asked and answered, what was played and
// heard, and the scores.
int runTable(CommandLine& line, ConsoleUserInterface& ui) {
    const auto output = line.value("-o");
    const std::string path = argumentsAfter(line, 1).front();
    if (!output) {
        throw UsageError("expects -o OUT.csv");
    }
    SessionFileContents contents;
    if (!readSessionFile(path, contents, ui)) {
        return kExitFailed;
    }
    const RecordingRegions recording = regionsOf(contents, ui);
    if (Result written = SessionTable::write(*output, contents.sequences, recording.regions);
        !written.ok()) {
        return failedWith(ui, written.message());
    }
    return kExitOk;
}

// Each chosen sequence as it sounded, heard by the recogniser; the words go beside the
// session file with the recording's identity, the session file itself is not touched.
int runTranscribe(CommandLine& line, ConsoleUserInterface& ui) {
    const auto number = line.integer("--sequence", 1, std::numeric_limits<int32_t>::max());
    const std::string path = argumentsAfter(line, 1).front();
    SessionFileContents contents;
    AudioDocument doc;
    if (!openWithRecording(path, number, contents, doc, ui)) {
        return kExitFailed;
    }
    // Found out before the work: a damaged side file is never written over.
    if (Result writable = SessionSideNotes::canKeep(path); !writable.ok()) {
        return failedWith(ui, writable.message());
    }
    size_t position = 0;
    for (SEQUENCE& sequence : contents.sequences) {
        ++position;
        if (number && static_cast<long long>(position) != *number) {
            continue;
        }
        std::vector<MachineWord> words;
        const Result heard = SequenceTranscriber::transcribe(sequence, doc, {}, {}, words);
        if (!heard.ok()) {
            return failedWith(ui, heard.message());
        }
        std::printf("Sequence %zu: %s\n", position,
                    Utf8Text::fromBytes(MachineWord::text(words)).c_str());
        sequence.machineWords = std::move(words);
    }
    if (Result kept = SessionSideNotes::keep(path, contents.wavFileName, contents.sequences);
        !kept.ok()) {
        return failedWith(ui, kept.message());
    }
    return kExitOk;
}

}  // namespace

int runSession(CommandLine& line, ConsoleUserInterface& ui) {
    const Subcommands session{{{"show", &runShow},
                               {"export", &runExport},
                               {"transcribe", &runTranscribe},
                               {"table", &runTable}},
                              {"--json"},
                              {"--sequence", "-o"}};
    return session.run(line, ui);
}

}  // namespace murmelix::cli
