#pragma once

#include <string>
#include <vector>

#include "audio/audio_document.h"
#include "device/simulated_output_device.h"
#include "random/random_number_log.h"
#include "random/random_source.h"
#include "random/unavailable_noise_input.h"
#include "session/session_workflow.h"
#include "support/scripted_user_interface.h"
#include "transport/transport.h"

namespace murmelix::testing {

// Records what the transport asks of the window.
class RecordingTransportHost : public TransportHost {
  public:
    void applyTransportMode(TransportMode mode) override { modes.push_back(mode); }
    void showSegmentNumber(int32_t number) override { numbers.push_back(number); }
    void showPaused(bool paused) override { pausedShown.push_back(paused); }
    void startStopTimer(int milliseconds) override { timerMs = milliseconds; }
    void stopStopTimer() override { timerMs = -1; }
    void stopRecording() override { ++recordingStops; }

    std::vector<TransportMode> modes;
    std::vector<int32_t> numbers;
    std::vector<bool> pausedShown;
    int timerMs = -1;
    int recordingStops = 0;
};

// A 16-bit document whose frame i holds the value i (mod 32768), so played bytes tell
// which frames were played.
inline AudioDocument countingDocument(int32_t frames, uint32_t rate, uint16_t channels = 1) {
    AudioDocument doc;
    doc.format = {1,  channels, rate, rate * 2u * channels, static_cast<uint16_t>(2 * channels),
                  16, 0};
    doc.data.resize(static_cast<size_t>(frames) * 2 * channels);
    doc.commit("/music/words.wav");
    for (int32_t i = 0; i < frames; ++i) {
        for (int c = 0; c < channels; ++c) {
            doc.write(c, i, i % 32768);
        }
    }
    return doc;
}

// The transport with every part it works with, on a simulated device.
struct TransportRig {
    ScriptedUserInterface ui;
    AudioDocument doc = countingDocument(80000, 8000);
    SegmentControls controls;
    UnavailableNoiseInput input;
    RandomSource source{ui, input};
    RandomNumberLog log{ui};
    Session session;
    SessionWorkflow workflow{session, ui};
    SimulatedOutputDevice device;
    RecordingTransportHost host;
    Transport transport{{doc, controls, source, log, session, workflow, device, ui, host}};

    TransportRig() {
        source.pseudoGenerator().setState(1);
        source.setDocument(&doc);
        // The counting signal never falls below zero; keep every segment at 80 ms.
        controls.zeroCrossAdjust = false;
    }

    // Lets time pass a millisecond at a time, handing every finished buffer over at once.
    void run(int milliseconds) {
        for (int i = 0; i < milliseconds; ++i) {
            device.advance(1);
            transport.pumpDone();
        }
    }
    // Until the transport is idle with nothing queued (or the time limit passes).
    bool drain(int limitMs = 600000) {
        for (int i = 0; i < limitMs; ++i) {
            transport.pumpDone();
            if (transport.mode() == TransportMode::tmIdle && transport.settled()) {
                return true;
            }
            device.advance(1);
        }
        return false;
    }
};

}  // namespace murmelix::testing
