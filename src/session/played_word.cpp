#include "session/played_word.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace murmelix {

namespace {

// Where each character of UTF-8 text starts, so that a part of a label never cuts one.
std::vector<size_t> characterStarts(const std::string& text) {
    std::vector<size_t> out;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            out.push_back(i);
        }
    }
    return out;
}

}  // namespace

std::string PlayedWord::written() const {
    if (part == Part::Whole) {
        return label;
    }
    const std::vector<size_t> starts = characterStarts(label);
    const size_t count = starts.size();
    // As many letters as the share heard, at least one and never all.
    const auto kept = std::clamp<size_t>(static_cast<size_t>(std::lround(heard * count)), 1,
                                         count > 1 ? count - 1 : 1);
    // A part of a phrase cut next to a space reads as "~you", not "~ you".
    const auto cut = [&](size_t first, size_t n) {
        size_t begin = starts[first];
        size_t end = first + n < count ? starts[first + n] : label.size();
        while (end - begin > 1 && label[begin] == ' ') {
            ++begin;
        }
        while (end - begin > 1 && label[end - 1] == ' ') {
            --end;
        }
        return label.substr(begin, end - begin);
    };
    if (count == 0) {
        return "~";
    }
    switch (part) {
        case Part::Start:
            return cut(0, kept) + "~";
        case Part::End:
            return "~" + cut(count - kept, kept);
        case Part::Middle:
        case Part::Whole:
            break;
    }
    return "~" + cut((count - kept) / 2, kept) + "~";
}

}  // namespace murmelix
