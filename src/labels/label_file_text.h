#pragma once

#include <string>
#include <string_view>

namespace murmelix {

// The bytes of a label file as UTF-8 text. Praat writes UTF-16 with a byte order mark
// when a text needs it, other programs UTF-8, some with a mark of their own; files from
// older systems hold Windows-1252, which is read as such. Line ends stay as they were.
class LabelFileText {
  public:
    static std::string decode(std::string_view bytes);
    // UTF-16 without its mark; a lone surrogate or an odd last byte becomes U+FFFD.
    static std::string fromUtf16(std::string_view bytes, bool bigEndian);
    // A piece of a file for a message: control characters (a binary file's bytes) become
    // "?", so that a terminal or message box shows no garbage, and a long piece is cut.
    static std::string forMessage(std::string_view text);
};

}  // namespace murmelix
