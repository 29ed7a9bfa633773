#include "synth/offline_renderer.h"

#include "audio/audio_document.h"
#include "synth/random_draw.h"
#include "synth/segment_selector.h"
#include "synth/synthesizer.h"

namespace murmelix {

std::optional<SEQUENCE> OfflineRenderer::render(const AudioDocument& doc, SegmentControls controls,
                                                RandomDraw& draw, Limit limit, UserInterface& ui) {
    halted_ = false;
    controls.deriveLengths(doc);
    SegmentSelector selector;
    if (!selector.startRun(doc, controls, ui)) {
        return std::nullopt;
    }
    Session session;
    session.appendSequence(SEQUENCE{});
    session.recordingActive = true;
    Synthesizer synth;
    synth.beginRandomRun();
    const Synthesizer::RandomFillContext context{controls, selector, draw, session};
    int64_t frames = 0;
    const auto& entries = session.last()->entries;
    // Segments of no length (cue regions past the data) would never reach a time limit; no
    // run needs more segments than it has frames to fill.
    const int64_t maxSegments = limit.segments > 0 ? limit.segments : limit.frames;
    while (static_cast<int64_t>(entries.size()) < maxSegments &&
           (limit.segments > 0 || frames < limit.frames)) {
        const size_t before = entries.size();
        if (!synth.randomFill(doc, context) || draw.halted()) {
            halted_ = draw.halted();
            break;
        }
        frames += entries.size() > before ? entries.back().length : 0;
        // Nothing is played here, so the slot is free again at once.
        synth.bufferReturned();
        synth.advance();
    }
    return *session.last();
}

}  // namespace murmelix
