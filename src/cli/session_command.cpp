#include "cli/session_command.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <iterator>
#include <limits>
#include "base/atomic_file.h"
#include "base/input_file.h"

#include "app/held_messages.h"
#include "app/sequence_transcriber.h"
#include "audio/audio_document.h"
#include "audio/wav_reader.h"
#include "base/text_format.h"
#include "base/utf8_text.h"
#include "cli/json_writer.h"
#include "cli/session_access.h"
#include "session/played_words.h"
#include "session/sequence_explanation.h"
#include "session/session_date_time.h"
#include "session/session_file_operations.h"
#include "session/session_file_reader.h"
#include "session/session_side_file.h"
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

// The words a recogniser heard in each sequence, kept beside the session file; none for a
// sequence not transcribed, or when what is kept cannot be trusted (said once, on stderr).
std::vector<std::optional<std::vector<MachineWord>>> machineWordsOf(
    const std::string& sessionPath, const SessionFileContents& contents, UserInterface& ui) {
    std::vector<std::optional<std::vector<MachineWord>>> out(contents.sequences.size());
    const std::string sidePath = SessionSideFile::pathFor(sessionPath);
    SessionSideData data;
    bool present = false;
    if (Result read = SessionSideFile::read(sidePath, data, present); !read.ok()) {
        ui.messageBox("Warning", read.message(), MessageIcon::Warning, MessageButtons::Ok);
        return out;
    }
    if (!present) {
        return out;
    }
    RecordingIdentity identity;
    if (!RecordingIdentity::of(contents.wavFileName, identity).ok() ||
        !(identity == data.recording)) {
        ui.messageBox("Warning",
                      formatText("The recording '%s' is not the one the words in '%s' were heard "
                                 "in (it has changed or is missing): they are not shown.",
                                 contents.wavFileName.c_str(), sidePath.c_str()),
                      MessageIcon::Warning, MessageButtons::Ok);
        return out;
    }
    size_t stale = 0;
    const auto matched = SessionSideFile::matched(contents, data, stale);
    if (stale > 0) {
        ui.messageBox("Warning",
                      formatText("%zu sequences of the session are not those '%s' was written "
                                 "for (the session was changed by another program): their words "
                                 "are not shown.",
                                 stale, sidePath.c_str()),
                      MessageIcon::Warning, MessageButtons::Ok);
    }
    for (size_t i = 0; i < matched.size(); ++i) {
        out[i] = matched[i].machineWords;
    }
    return out;
}

std::vector<std::string> wordsOf(const std::vector<MachineWord>& words) {
    std::vector<std::string> out;
    for (const MachineWord& word : words) {
        out.push_back(word.word);
    }
    return out;
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
                        const SequenceExplanation& explained, const RecordingRegions& recording,
                        const std::optional<std::vector<MachineWord>>& machine) {
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
    const auto machineScore =
        machine ? AnswerScore::of(sequence.answer, wordsOf(*machine)) : std::nullopt;
    json.key("scores").value(
        Json{{"played", scoreJson(explained.playedScore)}, {"machine", scoreJson(machineScore)}});
}

// Streamed one entry at a time: a session of a million entries makes a text of hundreds
// of megabytes.
void printSessionJson(const SessionFileContents& contents, const RecordingRegions& recording,
                      const std::vector<std::optional<std::vector<MachineWord>>>& machine,
                      std::FILE* out) {
    JsonWriter json(out);
    json.beginObject();
    json.key("version").value(contents.version);
    json.key("wav_file").value(JsonWriter::text(contents.wavFileName));
    json.key("sequences").beginArray();
    size_t at = 0;
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
        addExplanationJson(json, sequence, SequenceExplanation::of(sequence, recording.regions),
                           recording, machine[at++]);
        json.endObject();
    }
    json.endArray();
    json.endObject();
    std::fputc('\n', out);
}

void printScore(const char* against, const AnswerScore& score) {
    std::printf("  Score:     %zu of %zu answer words among the %s", score.found, score.answerWords,
                against);
    if (score.wordErrorRate) {
        std::printf(", word error rate %.2f", *score.wordErrorRate);
    }
    std::printf("\n");
}

void printExplanation(const SEQUENCE& sequence, const SequenceExplanation& explained,
                      const RecordingRegions& recording,
                      const std::optional<std::vector<MachineWord>>& machine) {
    std::printf("  Played:    %s\n",
                explained.played ? Utf8Text::fromBytes(PlayedWords::text(*explained.played)).c_str()
                                 : ("(" + noPlayedWords(recording) + ")").c_str());
    if (explained.playedScore) {
        printScore("played words", *explained.playedScore);
    }
    if (!machine) {
        return;
    }
    std::string heard;
    for (const MachineWord& word : *machine) {
        heard +=
            formatText("%s%s (%.2f)", heard.empty() ? "" : " ", word.word.c_str(), word.confidence);
    }
    std::printf("  Heard:     %s\n", Utf8Text::fromBytes(heard).c_str());
    if (const auto score = AnswerScore::of(sequence.answer, wordsOf(*machine))) {
        printScore("words heard", *score);
    }
}

void printSequence(const SEQUENCE& sequence, size_t position, size_t count,
                   const RecordingRegions& recording,
                   const std::optional<std::vector<MachineWord>>& machine) {
    std::printf("\nSequence %zu of %zu\n", position, count);
    std::printf("  Date/Time: %s\n",
                Utf8Text::fromBytes(SessionDateTime::displayFormOf(sequence.dateTime)).c_str());
    std::printf("  Question:  %s\n", Utf8Text::fromBytes(sequence.question).c_str());
    std::printf("  Answer:    %s\n", Utf8Text::fromBytes(sequence.answer).c_str());
    printExplanation(sequence, SequenceExplanation::of(sequence, recording.regions), recording,
                     machine);
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
                  const RecordingRegions& recording,
                  const std::vector<std::optional<std::vector<MachineWord>>>& machine) {
    std::printf("Session file: %s (version %d)\n", Utf8Text::fromBytes(path).c_str(),
                contents.version);
    std::printf("WAV file:     %s\n", Utf8Text::fromBytes(contents.wavFileName).c_str());
    std::printf("Sequences:    %zu\n", contents.sequences.size());
    size_t position = 0;
    for (const SEQUENCE& sequence : contents.sequences) {
        printSequence(sequence, position + 1, contents.sequences.size(), recording,
                      machine[position]);
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
    const auto machine = machineWordsOf(path, contents, ui);
    if (asJson) {
        printSessionJson(contents, recording, machine, stdout);
    } else {
        printSession(path, contents, recording, machine);
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

// A field as RFC 4180 has it, which pandas and R read without options: quoted when it holds a
// separator, quote or line break, quotes doubled.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return out + "\"";
}

std::string csvNumber(const std::optional<double>& value) {
    return value ? formatText("%.4f", *value) : std::string();
}

// "2024 03 05 14 07 09" as ISO 8601, which analysis tools read as a time; any other text as
// it stands.
std::string isoDateTime(const std::string& stored) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
    char rest = 0;
    if (std::sscanf(stored.c_str(), "%d %d %d %d %d %d%c", &y, &mo, &d, &h, &mi, &se, &rest) != 6) {
        return Utf8Text::fromBytes(stored);
    }
    return formatText("%04d-%02d-%02dT%02d:%02d:%02d", y, mo, d, h, mi, se);
}

std::string csvRow(const std::vector<std::string>& fields) {
    std::string out;
    for (const std::string& field : fields) {
        out += (out.empty() ? "" : ",") + csvField(field);
    }
    return out + "\r\n";
}

void addScoreFields(const std::optional<AnswerScore>& score, std::vector<std::string>& row) {
    row.push_back(score ? std::to_string(score->found) : "");
    row.push_back(score ? csvNumber(score->foundShare()) : "");
    row.push_back(score ? csvNumber(score->wordErrorRate) : "");
}

std::string machineText(const std::vector<MachineWord>& words) {
    std::string out;
    for (const MachineWord& word : words) {
        out += (out.empty() ? "" : " ") + word.word;
    }
    return out;
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
    const auto machine = machineWordsOf(path, contents, ui);
    std::string text =
        csvRow({"sequence", "date_time", "question", "answer", "answer_words", "played_words",
                "machine_words", "played_found", "played_found_share", "played_word_error_rate",
                "machine_found", "machine_found_share", "machine_word_error_rate", "entries"});
    size_t at = 0;
    for (const SEQUENCE& sequence : contents.sequences) {
        const SequenceExplanation explained = SequenceExplanation::of(sequence, recording.regions);
        const auto& heard = machine[at];
        const auto heardScore =
            heard ? AnswerScore::of(sequence.answer, wordsOf(*heard)) : std::nullopt;
        std::vector<std::string> row = {
            std::to_string(++at),
            isoDateTime(sequence.dateTime),
            Utf8Text::fromBytes(sequence.question),
            Utf8Text::fromBytes(sequence.answer),
            std::to_string(AnswerScore::wordsOf(sequence.answer).size()),
            explained.played ? Utf8Text::fromBytes(PlayedWords::text(*explained.played)) : "",
            heard ? Utf8Text::fromBytes(machineText(*heard)) : ""};
        addScoreFields(explained.playedScore, row);
        addScoreFields(heardScore, row);
        row.push_back(std::to_string(sequence.entries.size()));
        text += csvRow(row);
    }
    AtomicFile file(*output);
    if (!file.open() || !file.write(text) || !file.commit()) {
        return failedWith(ui, formatText("Can't write '%s' (%s).", output->c_str(),
                                         InputFile::describeError(file.error()).c_str()));
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
    RecordingIdentity identity;
    if (Result known = RecordingIdentity::of(contents.wavFileName, identity); !known.ok()) {
        return failedWith(ui, known.message());
    }
    const std::string sidePath = SessionSideFile::pathFor(path);
    SessionSideData kept;
    bool present = false;
    // A damaged file is never written over: what it holds may still be read by hand.
    if (Result read = SessionSideFile::read(sidePath, kept, present); !read.ok()) {
        return failedWith(ui, read.message());
    }
    size_t stale = 0;
    SessionSideData data;
    data.recording = identity;
    data.sequences = SessionSideFile::matched(
        contents, present && kept.recording == identity ? kept : SessionSideData{}, stale);
    size_t position = 0;
    for (const SEQUENCE& sequence : contents.sequences) {
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
                    Utf8Text::fromBytes(machineText(words)).c_str());
        data.sequences[position - 1].machineWords = std::move(words);
    }
    if (Result written = SessionSideFile::write(sidePath, data); !written.ok()) {
        return failedWith(ui, written.message());
    }
    return kExitOk;
}

const Subcommand kSubcommands[] = {
    {"show", &runShow},
    {"export", &runExport},
    {"transcribe", &runTranscribe},
    {"table", &runTable},
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
