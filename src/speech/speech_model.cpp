#include "speech/speech_model.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "base/text_format.h"
#include "base/utf8_text.h"

namespace murmelix {

Result SpeechModel::locate(const std::string& chosen, Use use, SpeechModel& out) {
    SpeechModel model;
    const char* variable = std::getenv(kFolderVariable);
    model.folder_ = !chosen.empty()                         ? chosen
                    : variable != nullptr && *variable != 0 ? std::string(variable)
                                                            : std::string(kDefaultFolder);
    std::vector<std::string> needed = {model.acousticModel() + "/mdef", model.dictionary()};
    if (use == Use::Words) {
        needed.push_back(model.wordModel());
    } else if (use == Use::Phones) {
        needed.push_back(model.phoneModel());
    }
    for (const std::string& file : needed) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            return Result::failure(formatText(
                "The speech model is missing: '%s' was not found. Install it with \"apt install "
                "pocketsphinx-en-us\", or name a folder laid out like it in %s.",
                Utf8Text::fromBytes(file).c_str(), kFolderVariable));
        }
    }
    out = std::move(model);
    return Result::success();
}

}  // namespace murmelix
