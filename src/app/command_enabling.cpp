#include "app/command_enabling.h"

#include "audio/audio_document.h"
#include "session/session.h"

namespace murmelix {

CommandEnabling CommandEnabling::compute(TransportMode mode, const AudioDocument& document,
                                         const SegmentControls& controls, const Session& session) {
    const bool idle = mode == TransportMode::tmIdle;
    const bool playing = mode == TransportMode::tmPlay || mode == TransportMode::tmRandomPlay;
    CommandEnabling on;
    on.open = idle;
    // A document in no file yet (an import, a recording) can always be saved.
    on.save = idle && document.loaded && (document.changed || document.fileName.empty());
    on.record = idle;
    on.play = idle && document.loaded;
    on.oqt = idle && document.loaded;
    on.pause = playing;
    on.stop = playing || mode == TransportMode::tmRecord;
    if (idle || mode == TransportMode::tmRandomPlay) {
        on.randomNumbers = idle;
    }
    on.effects = idle && document.loaded;
    on.playOqt = idle;
    on.segments = controls.enabling(mode);
    on.session = sessionControls(mode, document, session);
    return on;
}

SessionControlsEnabling CommandEnabling::sessionControls(TransportMode mode,
                                                         const AudioDocument& document,
                                                         const Session& session) {
    SessionControlsEnabling on;
    const bool any = session.count() > 0;
    if (mode == TransportMode::tmSessionPlay) {
        on.stop = true;
        on.cueLabels = any;
        return on;
    }
    if (mode != TransportMode::tmIdle) {
        return on;
    }
    on.open = true;
    on.newSession = any;
    on.save = session.changed;
    on.record = !document.fileName.empty();
    on.play = any;
    on.previous = any && session.currentIndex() > 0;
    on.next = any && session.currentIndex() + 1 < session.count();
    on.sessionFile = !session.sessionFileName.empty();
    on.dateTimeAndNumber = any;
    on.texts = any;
    on.cueLabels = any;
    return on;
}

std::string CommandEnabling::sessionRecordReason(TransportMode mode,
                                                 const AudioDocument& document) {
    if (mode != TransportMode::tmIdle || !document.fileName.empty()) {
        return {};
    }
    return document.loaded ? kSaveRecordingFirst : kOpenRecordingFirst;
}

}  // namespace murmelix
