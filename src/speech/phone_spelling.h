#pragma once

#include <string>

namespace murmelix {

// The names the recogniser gives its phones (ARPAbet, as the dictionary spells words) and
// what a reader of phonetics expects instead.
class PhoneSpelling {
  public:
    // "AH" -> "ʌ", "HH" -> "h" (UTF-8); a name it does not know stays as it is.
    static std::string ipa(const std::string& arpabet);
    // Silence, breath, noise, sentence marks and the grammar's empty steps "(NULL)": nothing
    // that was said.
    static bool isFiller(const std::string& decoded);
    // "word(2)" -> "word": the decoder's name for a second pronunciation.
    static std::string dictionaryWord(const std::string& decoded);
};

}  // namespace murmelix
