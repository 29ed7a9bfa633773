#include "session/session_table.h"

#include <cstdio>

#include "base/atomic_file.h"
#include "base/csv_text.h"
#include "base/text_format.h"
#include "base/utf8_text.h"
#include "session/played_words.h"
#include "session/sequence_explanation.h"

namespace murmelix {

namespace {

std::string csvNumber(const std::optional<double>& value) {
    return value ? formatText("%.4f", *value) : std::string();
}

void addScoreFields(const std::optional<AnswerScore>& score, std::vector<std::string>& row) {
    row.push_back(score ? std::to_string(score->found) : "");
    row.push_back(score ? csvNumber(score->foundShare()) : "");
    row.push_back(score ? csvNumber(score->wordErrorRate) : "");
}

}  // namespace

std::string SessionTable::isoDateTime(const std::string& stored) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
    char rest = 0;
    if (std::sscanf(stored.c_str(), "%d %d %d %d %d %d%c", &y, &mo, &d, &h, &mi, &se, &rest) != 6) {
        return Utf8Text::fromBytes(stored);
    }
    return formatText("%04d-%02d-%02dT%02d:%02d:%02d", y, mo, d, h, mi, se);
}

std::string SessionTable::text(const std::list<SEQUENCE>& sequences,
                               const std::vector<CuePoint>& regions) {
    std::string text =
        CsvText::row({"sequence", "date_time", "question", "answer", "answer_words", "played_words",
                      "machine_words", "played_found", "played_found_share",
                      "played_word_error_rate", "machine_found", "machine_found_share",
                      "machine_word_error_rate", "entries", "made_with"});
    const PlayedWords words(regions);
    size_t at = 0;
    for (const SEQUENCE& sequence : sequences) {
        const SequenceExplanation explained = SequenceExplanation::of(sequence, words);
        std::vector<std::string> row = {
            std::to_string(++at),
            isoDateTime(sequence.dateTime),
            Utf8Text::fromBytes(sequence.question),
            Utf8Text::fromBytes(sequence.answer),
            std::to_string(AnswerScore::wordsOf(sequence.answer).size()),
            explained.played ? Utf8Text::fromBytes(PlayedWords::text(*explained.played)) : "",
            sequence.machineWords ? Utf8Text::fromBytes(MachineWord::text(*sequence.machineWords))
                                  : ""};
        addScoreFields(explained.playedScore, row);
        addScoreFields(explained.machineScore, row);
        row.push_back(std::to_string(sequence.entries.size()));
        row.push_back(Utf8Text::fromBytes(sequence.madeWithText()));
        text += CsvText::row(row);
    }
    return text;
}

Result SessionTable::write(const std::string& path, const std::list<SEQUENCE>& sequences,
                           const std::vector<CuePoint>& regions) {
    return AtomicFile::writeWhole(path, text(sequences, regions));
}

}  // namespace murmelix
