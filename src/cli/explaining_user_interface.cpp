#include "cli/explaining_user_interface.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "audio/riff_reader.h"

namespace murmelix::cli {

namespace {

constexpr std::string_view kCodeText = "MMIO Error ";

const char* meaningOf(int code) {
    switch (code) {
        case RiffReader::kChunkNotFound:
            return "the file is not a WAV file, or it lacks its format or sample data part";
        case RiffReader::kCannotSeek:
            return "a part of the file is cut short: the file is damaged or incomplete";
        default:
            return "the file is damaged";
    }
}

}  // namespace

std::string ExplainingUserInterface::explained(const std::string& text) {
    const size_t at = text.rfind(kCodeText);
    if (at == std::string::npos) {
        return text;
    }
    const std::string digits = text.substr(at + kCodeText.size());
    const bool number = !digits.empty() && digits.size() < 6 &&
                        std::all_of(digits.begin(), digits.end(), [](char c) {
                            return std::isdigit(static_cast<unsigned char>(c));
                        });
    return number ? text + " (" + meaningOf(std::stoi(digits)) + ")" : text;
}

MessageResult ExplainingUserInterface::messageBox(const std::string& caption,
                                                  const std::string& text, MessageIcon icon,
                                                  MessageButtons buttons) {
    return ConsoleUserInterface::messageBox(caption, explained(text), icon, buttons);
}

}  // namespace murmelix::cli
