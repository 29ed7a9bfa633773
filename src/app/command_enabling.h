#pragma once

#include <optional>
#include <string>

#include "synth/segment_controls.h"
#include "synth/transport_mode.h"

namespace murmelix {

class AudioDocument;
class Session;

// Which of the session panel's controls (buttons with their menu items, and the edits) can be
// used. `texts` covers the question and answer edits, which also change colour with it.
struct SessionControlsEnabling {
    bool open = false;
    bool newSession = false;
    bool save = false;
    bool record = false;
    bool play = false;  // Play, OQT, Exp and Edit
    bool stop = false;
    bool previous = false;
    bool next = false;
    bool sessionFile = false;
    bool dateTimeAndNumber = false;
    bool texts = false;
    bool cueLabels = false;
    bool operator==(const SessionControlsEnabling&) const = default;
};

// Everything the transport mode decides in the main window, as data the window applies.
struct CommandEnabling {
    static constexpr const char* kSaveRecordingFirst =
        "Save the recording as a WAV file first (File > Save WAV file...): a session refers "
        "to a WAV file.";
    static constexpr const char* kOpenRecordingFirst =
        "Open a WAV file first: a session refers to a WAV file.";
    bool open = false;
    bool save = false;
    bool record = false;
    bool play = false;
    bool oqt = false;
    bool pause = false;
    bool stop = false;
    // The two random-number items; none: they keep their state (file and session play).
    std::optional<bool> randomNumbers;
    bool effects = false;
    bool playOqt = false;  // the "Play OQT" group and its seconds
    SegmentControlsEnabling segments;
    SessionControlsEnabling session;
    bool operator==(const CommandEnabling&) const = default;

    static CommandEnabling compute(TransportMode mode, const AudioDocument& document,
                                   const SegmentControls& controls, const Session& session);
    // Why the session's Rec is off while idle, for its hint; empty when it is not off.
    static std::string sessionRecordReason(TransportMode mode, const AudioDocument& document);
    static SessionControlsEnabling sessionControls(TransportMode mode,
                                                   const AudioDocument& document,
                                                   const Session& session);
};

}  // namespace murmelix
