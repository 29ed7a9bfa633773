#include "session/answer_score.h"

#include <algorithm>
#include <map>

namespace murmelix {

namespace {

bool wordCharacter(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

size_t editDistance(const std::vector<std::string>& from, const std::vector<std::string>& to) {
    std::vector<size_t> row(to.size() + 1);
    for (size_t j = 0; j <= to.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= from.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= to.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min(
                {row[j] + 1, row[j - 1] + 1, diagonal + (from[i - 1] == to[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[to.size()];
}

}  // namespace

std::vector<std::string> AnswerScore::wordsOf(std::string_view text) {
    std::vector<std::string> out;
    std::string word;
    const auto flush = [&] {
        while (!word.empty() && word.back() == '\'') {
            word.pop_back();
        }
        if (!word.empty()) {
            out.push_back(word);
        }
        word.clear();
    };
    for (const char c : text) {
        if (wordCharacter(c)) {
            word += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        } else if (c == '\'' && !word.empty()) {
            word += c;
        } else {
            flush();
        }
    }
    flush();
    return out;
}

std::optional<AnswerScore> AnswerScore::of(std::string_view answer,
                                           const std::vector<std::string>& words) {
    const std::vector<std::string> said = wordsOf(answer);
    if (said.empty()) {
        return std::nullopt;
    }
    std::vector<std::string> truth;
    std::map<std::string, int> left;
    for (const std::string& word : words) {
        for (std::string& part : wordsOf(word)) {
            ++left[part];
            truth.push_back(std::move(part));
        }
    }
    AnswerScore score;
    score.answerWords = said.size();
    for (const std::string& word : said) {
        if (auto it = left.find(word); it != left.end() && it->second > 0) {
            --it->second;
            ++score.found;
        }
    }
    if (!truth.empty()) {
        score.wordErrorRate =
            static_cast<double>(editDistance(truth, said)) / static_cast<double>(truth.size());
    }
    return score;
}

}  // namespace murmelix
