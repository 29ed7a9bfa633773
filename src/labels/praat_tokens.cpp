#include "labels/praat_tokens.h"

#include "labels/label_file_text.h"

namespace murmelix {

namespace {

bool isNumberStart(std::string_view text, size_t i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
        return true;
    }
    if ((c == '-' || c == '+' || c == '.') && i + 1 < text.size()) {
        return isNumberStart(text, i + 1) && text[i + 1] != '-' && text[i + 1] != '+';
    }
    return false;
}

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The whole UTF-8 sequence that starts at `i`, for a message.
std::string_view characterAt(std::string_view text, size_t i) {
    size_t n = 1;
    while (n < 4 && i + n < text.size() &&
           (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) {
        ++n;
    }
    return text.substr(i, n);
}

}  // namespace

bool PraatTokens::scan(std::string_view text, std::string& problem, int& line) {
    tokens_.clear();
    next_ = 0;
    int current = 1;
    size_t i = 0;
    const auto skipWord = [&] {
        while (i < text.size() && !isSeparator(text[i]) && text[i] != '"') {
            ++i;
        }
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++current;
            ++i;
        } else if (isSeparator(c)) {
            ++i;
        } else if (c == '!') {
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
        } else if (c == '[') {
            // "[3]" and "[]": the index of an item in the long form.
            while (i < text.size() && text[i] != ']' && text[i] != '\n') {
                ++i;
            }
            i += i < text.size() && text[i] == ']' ? 1 : 0;
        } else if (c == '"') {
            const int start = current;
            std::string value;
            for (++i;; ++i) {
                if (i >= text.size()) {
                    problem = "a text in quotes is not closed";
                    line = start;
                    return false;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        value.push_back('"');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                current += text[i] == '\n' ? 1 : 0;
                value.push_back(text[i]);
            }
            // Praat ends a text only at a quote followed by a blank: anything else is a
            // quote that should have been doubled, and Praat refuses the file.
            if (i < text.size() && !isSeparator(text[i])) {
                problem = "a closing quote is followed by '" +
                          LabelFileText::forMessage(characterAt(text, i)) +
                          "'; a quote inside a text is written twice";
                line = current;
                return false;
            }
            tokens_.push_back({Kind::Text, std::move(value), start});
        } else if (c == '<') {
            const size_t from = i;
            while (i < text.size() && text[i] != '>' && !isSeparator(text[i])) {
                ++i;
            }
            i += i < text.size() && text[i] == '>' ? 1 : 0;
            tokens_.push_back({Kind::Flag, std::string(text.substr(from, i - from)), current});
        } else if (isNumberStart(text, i)) {
            const size_t from = i;
            skipWord();
            tokens_.push_back({Kind::Number, std::string(text.substr(from, i - from)), current});
        } else {
            skipWord();
        }
    }
    lastLine_ = current;
    return true;
}

}  // namespace murmelix
