#include "listening/answer_sheet.h"

#include <algorithm>

#include "base/csv_text.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

struct Record {
    int line = 0;  // where it starts
    std::vector<std::string> fields;
};

// The records of CSV text; `unclosed` tells of a quote left open at the end.
std::vector<Record> records(const std::string& text, char separator, bool& unclosed) {
    std::vector<Record> out;
    Record record{1, {}};
    std::string field;
    bool quoted = false;
    bool any = false;
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n' ? 1 : 0;
                field += c;
            }
        } else if (c == '"') {
            quoted = any = true;
        } else if (c == separator) {
            record.fields.push_back(std::move(field));
            field.clear();
            any = true;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            if (any || !field.empty()) {
                record.fields.push_back(std::move(field));
                out.push_back(std::move(record));
            }
            field.clear();
            any = false;
            record = Record{++line, {}};
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.empty()) {
        record.fields.push_back(std::move(field));
        out.push_back(std::move(record));
    }
    unclosed = quoted;
    return out;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

// A code as a spreadsheet may have turned it: "7" for "07".
std::string codeOf(const std::string& written, const ListeningTest& test) {
    const std::string code = trimmedText(written);
    if (test.clip(code) != nullptr || code.empty() ||
        code.find_first_not_of("0123456789") != std::string::npos) {
        return code;
    }
    for (const ListeningClip& clip : test.clips) {
        if (clip.code.size() > code.size() &&
            clip.code == std::string(clip.code.size() - code.size(), '0') + code) {
            return clip.code;
        }
    }
    return code;
}

}  // namespace

std::string AnswerSheet::blank(const ListeningTest& test) {
    std::vector<SheetRow> rows;
    for (const ListeningClip& clip : test.clips) {
        rows.push_back({"", clip.code, ""});
    }
    return text(rows);
}

std::string AnswerSheet::text(const std::vector<SheetRow>& rows) {
    std::string out = CsvText::row({"listener", "clip", "answer"});
    for (const SheetRow& row : rows) {
        out += CsvText::row({row.listener, row.clip, row.answer});
    }
    return out;
}

AnswerSheet::Parsed AnswerSheet::parse(const std::string& text, const ListeningTest& test,
                                       const std::string& listener) {
    Parsed out;
    const std::string body = text.rfind("\xEF\xBB\xBF", 0) == 0 ? text.substr(3) : text;
    const std::string header = body.substr(0, body.find_first_of("\r\n"));
    const char separator =
        header.find(';') != std::string::npos && header.find(',') == std::string::npos ? ';' : ',';
    bool unclosed = false;
    const std::vector<Record> all = records(body, separator, unclosed);
    int columns[3] = {-1, -1, -1};
    const char* const names[3] = {"listener", "clip", "answer"};
    if (!all.empty()) {
        for (size_t i = 0; i < all[0].fields.size(); ++i) {
            for (int c = 0; c < 3; ++c) {
                if (lower(trimmedText(all[0].fields[i])) == names[c]) {
                    columns[c] = static_cast<int>(i);
                }
            }
        }
    }
    if (columns[1] < 0 || columns[2] < 0) {
        out.problems.push_back(
            "line 1: the sheet has no columns named \"clip\" and \"answer\" (and \"listener\")");
        return out;
    }
    // A quote left open swallows the rest of the sheet into its last row: that row is not taken.
    const size_t whole = all.size() - (unclosed ? 1 : 0);
    for (size_t r = 1; r < whole; ++r) {
        const Record& record = all[r];
        const auto field = [&](int c) {
            return columns[c] >= 0 && static_cast<size_t>(columns[c]) < record.fields.size()
                       ? record.fields[columns[c]]
                       : std::string();
        };
        SheetRow row{trimmedText(field(0)), codeOf(field(1), test), trimmedText(field(2))};
        if (row.listener.empty()) {
            row.listener = listener;
        }
        if (row.clip.empty() && row.answer.empty()) {
            continue;
        }
        if (test.clip(row.clip) == nullptr) {
            out.problems.push_back(formatText("line %d: there is no clip \"%s\" in this test",
                                              record.line, row.clip.c_str()));
        } else if (!row.answer.empty()) {
            out.rows.push_back(std::move(row));
        }
    }
    if (unclosed) {
        out.problems.push_back(formatText(
            "line %d: a quote is opened and never closed, so the rest of the sheet is one field",
            all.back().line));
    }
    return out;
}

}  // namespace murmelix
