#include "speech/phone_spelling.h"

#include <array>
#include <string_view>
#include <utility>

namespace murmelix {

namespace {

// The phone set of the CMU pronouncing dictionary, stress marks aside.
constexpr std::array<std::pair<std::string_view, std::string_view>, 39> kIpa = {{
    {"AA", "ɑ"},  {"AE", "æ"}, {"AH", "ʌ"}, {"AO", "ɔ"},  {"AW", "aʊ"}, {"AY", "aɪ"}, {"B", "b"},
    {"CH", "tʃ"}, {"D", "d"},  {"DH", "ð"}, {"EH", "ɛ"},  {"ER", "ɝ"},  {"EY", "eɪ"}, {"F", "f"},
    {"G", "ɡ"},   {"HH", "h"}, {"IH", "ɪ"}, {"IY", "i"},  {"JH", "dʒ"}, {"K", "k"},   {"L", "l"},
    {"M", "m"},   {"N", "n"},  {"NG", "ŋ"}, {"OW", "oʊ"}, {"OY", "ɔɪ"}, {"P", "p"},   {"R", "ɹ"},
    {"S", "s"},   {"SH", "ʃ"}, {"T", "t"},  {"TH", "θ"},  {"UH", "ʊ"},  {"UW", "u"},  {"V", "v"},
    {"W", "w"},   {"Y", "j"},  {"Z", "z"},  {"ZH", "ʒ"},
}};

}  // namespace

std::string PhoneSpelling::ipa(const std::string& arpabet) {
    for (const auto& [name, symbol] : kIpa) {
        if (name == arpabet) {
            return std::string(symbol);
        }
    }
    return arpabet;
}

bool PhoneSpelling::isFiller(const std::string& decoded) {
    return decoded.empty() || decoded == "SIL" || decoded.front() == '<' ||
           decoded.front() == '[' || decoded.front() == '+' || decoded.front() == '(';
}

std::string PhoneSpelling::dictionaryWord(const std::string& decoded) {
    const size_t open = decoded.find('(');
    return open != std::string::npos && open > 0 && decoded.back() == ')' ? decoded.substr(0, open)
                                                                          : decoded;
}

}  // namespace murmelix
