#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace murmelix {

// The values of a Praat text file, in order: numbers, quoted texts and <flags>. The long
// form names each value ("xmin = 0", "intervals [3]:") and the short form does not; the
// names, "=", bracketed indices and "!" comments are skipped, so both forms give the same
// values. A text is in double quotes, with "" standing for one quote; it may span lines, and
// it ends at a quote followed by a blank or the end of the file, as Praat reads it.
class PraatTokens {
  public:
    enum class Kind { Number, Text, Flag };
    struct Token {
        Kind kind;
        std::string value;  // as written for numbers and flags, unquoted for texts
        int line;
    };

    // False with `problem` and `line` set when a text is not closed or its closing quote is
    // followed by anything but a blank.
    bool scan(std::string_view text, std::string& problem, int& line);

    bool atEnd() const { return next_ >= tokens_.size(); }
    const Token* peek() const { return atEnd() ? nullptr : &tokens_[next_]; }
    const Token* take() { return atEnd() ? nullptr : &tokens_[next_++]; }
    // The line the next token stands on, or the last line for the end of the file.
    int line() const { return atEnd() ? lastLine_ : tokens_[next_].line; }

  private:
    std::vector<Token> tokens_;
    size_t next_ = 0;
    int lastLine_ = 1;
};

}  // namespace murmelix
