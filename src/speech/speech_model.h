#pragma once

#include <string>

#include "base/result.h"

namespace murmelix {

// Where the recogniser's model lies: a folder laid out like the Debian package
// pocketsphinx-en-us (the acoustic model in en-us/, the pronouncing dictionary, the word
// and the phone language models). Found at run time, so that the program runs without it
// and only words and phonemes ask for it.
class SpeechModel {
  public:
    static constexpr const char* kDefaultFolder = "/usr/share/pocketsphinx/model/en-us";
    static constexpr const char* kFolderVariable = "MURMELIX_SPEECH_MODEL";

    enum class Use { Alignment, Words, Phones };

    // The folder `chosen`, else the one MURMELIX_SPEECH_MODEL names, else the package's;
    // fails with how to install it when a file `use` needs is missing.
    static Result locate(const std::string& chosen, Use use, SpeechModel& out);

    const std::string& folder() const { return folder_; }
    std::string acousticModel() const { return folder_ + "/en-us"; }
    std::string dictionary() const { return folder_ + "/cmudict-en-us.dict"; }
    std::string wordModel() const { return folder_ + "/en-us.lm.bin"; }
    std::string phoneModel() const { return folder_ + "/en-us-phone.lm.bin"; }

  private:
    std::string folder_;
};

}  // namespace murmelix
