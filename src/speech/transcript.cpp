#include "speech/transcript.h"

#include "base/input_file.h"
#include "base/text_format.h"
#include "base/utf8_text.h"

namespace murmelix {

namespace {

bool separates(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == '-';
}

// Bytes of 0x80 and above belong to letters of other scripts and stay in the word.
bool isWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string_view trimmed(std::string_view token) {
    while (!token.empty() && !isWordByte(token.front())) {
        token.remove_prefix(1);
    }
    while (!token.empty() && !isWordByte(token.back())) {
        token.remove_suffix(1);
    }
    return token;
}

std::string keyOf(std::string_view written) {
    std::string key(written);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

}  // namespace

std::vector<Transcript::Word> Transcript::words(std::string_view text) {
    std::vector<Word> out;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && separates(text[at])) {
            ++at;
        }
        const size_t start = at;
        while (at < text.size() && !separates(text[at])) {
            ++at;
        }
        const std::string_view word = trimmed(text.substr(start, at - start));
        if (!word.empty()) {
            out.push_back({std::string(word), keyOf(word)});
        }
    }
    return out;
}

Result Transcript::readFile(const std::string& path, std::string& text) {
    InputFile file;
    if (!file.open(path)) {
        return Result::failure(formatText("Can't open the transcript '%s': %s.",
                                          Utf8Text::fromBytes(path).c_str(),
                                          file.reason().c_str()));
    }
    if (file.size() > kMaxFileSize) {
        return Result::failure(formatText("The transcript '%s' is larger than 4 MB.",
                                          Utf8Text::fromBytes(path).c_str()));
    }
    if (!file.readAll(text)) {
        return Result::failure(formatText("Can't read the transcript '%s': %s.",
                                          Utf8Text::fromBytes(path).c_str(),
                                          file.reason().c_str()));
    }
    text = Utf8Text::fromBytes(text);
    return Result::success();
}

}  // namespace murmelix
