#include "listening/answer_store.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "base/atomic_file.h"
#include "base/input_file.h"
#include "base/text_format.h"

namespace murmelix {

namespace {

namespace fs = std::filesystem;

Result readFile(const std::string& path, std::string& text) {
    InputFile file;
    if (!file.open(path) || !file.readAll(text)) {
        return Result::failure(
            formatText("Can't read '%s' (%s).", path.c_str(), file.reason().c_str()));
    }
    return Result::success();
}

// A listener's kept answers; none when they have no file yet.
Result keptOf(const std::string& path, const ListeningTest& test, const std::string& listener,
              std::vector<SheetRow>& rows) {
    rows.clear();
    std::error_code error;
    if (!fs::exists(path, error)) {
        return Result::success();
    }
    std::string text;
    if (Result read = readFile(path, text); !read.ok()) {
        return read;
    }
    const AnswerSheet::Parsed parsed = AnswerSheet::parse(text, test, listener);
    if (!parsed.problems.empty()) {
        // Never written over: what it holds may still be read by hand.
        return Result::failure(
            formatText("The answers file '%s' was changed by hand (%s); it is "
                       "left as it is and no answer is added to it.",
                       path.c_str(), parsed.problems.front().c_str()));
    }
    rows = parsed.rows;
    return Result::success();
}

bool answered(const std::vector<SheetRow>& rows, const SheetRow& answer) {
    return std::any_of(rows.begin(), rows.end(), [&](const SheetRow& row) {
        return row.listener == answer.listener && row.clip == answer.clip;
    });
}

}  // namespace

std::string AnswerStore::fileFor(const std::string& folder, const std::string& listener) {
    std::string name;
    for (const char c : listener) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += plain ? c : '_';
        if (name.size() == 32) {
            break;
        }
    }
    uint32_t hash = 2166136261u;
    for (const char c : listener) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return folder + "/answers/" + name + formatText("-%08x.csv", hash);
}

Result AnswerStore::read(const std::string& folder, const ListeningTest& test,
                         std::vector<SheetRow>& rows, std::vector<std::string>& problems) {
    rows.clear();
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(fs::path(folder) / "answers", error)) {
        if (entry.path().extension() == ".csv") {
            files.push_back(entry.path());
        }
    }
    if (error) {
        return Result::failure(formatText("Can't read the answers of '%s' (%s).", folder.c_str(),
                                          error.message().c_str()));
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::string text;
        if (Result read = readFile(file.string(), text); !read.ok()) {
            problems.push_back(read.message());
            continue;
        }
        const AnswerSheet::Parsed parsed = AnswerSheet::parse(text, test, file.stem().string());
        for (const std::string& problem : parsed.problems) {
            problems.push_back(file.filename().string() + ", " + problem);
        }
        for (const SheetRow& row : parsed.rows) {
            if (answered(rows, row)) {
                problems.push_back(
                    formatText("%s: %s answered clip %s twice; the first answer "
                               "counts",
                               file.filename().c_str(), row.listener.c_str(), row.clip.c_str()));
            } else {
                rows.push_back(row);
            }
        }
    }
    return Result::success();
}

Result AnswerStore::record(const std::string& folder, const ListeningTest& test,
                           const SheetRow& answer) {
    std::vector<std::string> problems;
    int taken = 0;
    if (Result kept = take(folder, test, {answer}, problems, taken); !kept.ok()) {
        return kept;
    }
    return taken == 1 ? Result::success() : Result::failure(problems.front());
}

Result AnswerStore::take(const std::string& folder, const ListeningTest& test,
                         const std::vector<SheetRow>& rows, std::vector<std::string>& problems,
                         int& taken) {
    taken = 0;
    std::map<std::string, std::vector<SheetRow>> byListener;
    for (const SheetRow& row : rows) {
        byListener[row.listener].push_back(row);
    }
    for (const auto& [listener, answers] : byListener) {
        const std::string path = fileFor(folder, listener);
        std::vector<SheetRow> kept;
        if (Result read = keptOf(path, test, listener, kept); !read.ok()) {
            return read;
        }
        const size_t before = kept.size();
        for (const SheetRow& answer : answers) {
            if (test.clip(answer.clip) == nullptr) {
                problems.push_back(
                    formatText("there is no clip \"%s\" in this test", answer.clip.c_str()));
            } else if (answered(kept, answer)) {
                problems.push_back(
                    formatText("%s has answered clip %s already; that answer is "
                               "kept and \"%s\" is not taken",
                               listener.c_str(), answer.clip.c_str(), answer.answer.c_str()));
            } else {
                kept.push_back(answer);
            }
        }
        if (kept.size() == before) {
            continue;
        }
        if (Result written = AtomicFile::writeWhole(path, AnswerSheet::text(kept)); !written.ok()) {
            return written;
        }
        taken += static_cast<int>(kept.size() - before);
    }
    return Result::success();
}

}  // namespace murmelix
