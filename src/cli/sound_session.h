#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "app/program.h"
#include "app/program_view.h"
#include "device/port_audio_input_device.h"
#include "device/port_audio_library.h"
#include "device/port_audio_output_device.h"

namespace murmelix::cli {

// The program on the real sound devices, with the event loop a window would run: finished
// buffers are handed over as they come back, the timed stop fires, and Ctrl+C acts as the
// Stop button.
class SoundSession : private ProgramView {
  public:
    explicit SoundSession(UserInterface& ui);
    SoundSession(const SoundSession&) = delete;
    SoundSession& operator=(const SoundSession&) = delete;

    Program& program() { return *program_; }
    // False (message shown) when the sound system could not be started.
    bool soundAvailable();

    // Runs until the transport is idle and everything has come back. stopAfter (when set)
    // presses Stop after that much time, as the OQT timer does.
    void runUntilIdle(std::optional<std::chrono::milliseconds> stopAfter = std::nullopt);

    // Keeps a record of the segments shown, for the tool's output.
    int64_t segmentsShown() const { return segmentsShown_; }

  private:
    void startStopTimer(int milliseconds) override;
    void stopStopTimer() override;
    void showSegmentNumber(int32_t number) override;

    UserInterface& ui_;
    PortAudioLibrary library_;
    PortAudioOutputDevice output_;
    PortAudioInputDevice recordInput_;
    PortAudioInputDevice noiseInput_;
    std::unique_ptr<Program> program_;
    std::optional<std::chrono::steady_clock::time_point> stopAt_;
    int64_t segmentsShown_ = 0;
};

}  // namespace murmelix::cli
