#pragma once

#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "base/result.h"
#include "base/user_interface.h"
#include "listening/listening_test.h"
#include "random/noise_input.h"
#include "session/sequence.h"

namespace murmelix {

// What a listening test is made of.
struct ListeningTestRequest {
    std::vector<int> sequences;  // the session's, from 1; empty for all
    int controls = 1;            // made like each sequence, with seeds of their own
    bool reversed = false;       // and a reversed copy of each sequence
    uint64_t seed = 0;           // shuffles the clips and seeds the controls
};

// Makes a listening test folder from a session: every clip rendered as it sounds, under a code
// that tells nothing ("01", "02", ... in the shuffled order), as a WAV file without cue list or
// texts; the key with what each clip is; a blank answer sheet; a note for the organiser. The
// folder must be new or empty: a test is never made over another one's answers.
class ListeningTestMaker {
  public:
    static constexpr const char* kSheetName = "answer-sheet.csv";
    static constexpr const char* kReadMeName = "README.txt";

    // `sequences` carry their notes (the settings that made them are needed for controls);
    // `recording` is the session's WAV file with its regions, by which played words are told.
    // `progress` hears clips done of all and may cancel.
    static Result make(const std::string& folder, const std::string& sessionFile,
                       const std::list<SEQUENCE>& sequences, const AudioDocument& recording,
                       const ListeningTestRequest& request, NoiseInput& noise, UserInterface& ui,
                       const std::function<bool(int64_t, int64_t)>& progress, ListeningTest& out);

    // The sequences as a person types them ("1, 3-5") for a session of `count`; none, with the
    // reason in `problem`, when that is not a list of them.
    static std::optional<std::vector<int>> sequenceList(const std::string& text, int count,
                                                        std::string& problem);

    // The order that `seed` gives n things: the same on every machine (the standard library's
    // shuffle is not).
    static std::vector<size_t> shuffled(size_t n, uint64_t seed);
};

}  // namespace murmelix
