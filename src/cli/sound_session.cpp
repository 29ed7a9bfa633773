#include "cli/sound_session.h"

#include <poll.h>

#include <atomic>
#include <csignal>

#include "base/text_format.h"

namespace murmelix::cli {

namespace {

std::atomic<bool> g_interrupted{false};

void onInterrupt(int) {
    g_interrupted.store(true);
}

}  // namespace

SoundSession::SoundSession(UserInterface& ui) : ui_(ui) {
    program_ = std::make_unique<Program>(ui, Program::Devices{output_, recordInput_, noiseInput_},
                                         static_cast<ProgramView*>(this));
}

bool SoundSession::soundAvailable() {
    if (library_.status() != 0) {
        ui_.messageBox("Wave Out Error",
                       formatText("The sound system could not be started: %s",
                                  PortAudioLibrary::describe(library_.status()).c_str()),
                       MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    return true;
}

void SoundSession::startStopTimer(int milliseconds) {
    stopAt_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

void SoundSession::stopStopTimer() {
    stopAt_.reset();
}

void SoundSession::showSegmentNumber(int32_t) {
    ++segmentsShown_;
}

void SoundSession::runUntilIdle(std::optional<std::chrono::milliseconds> stopAfter) {
    g_interrupted.store(false);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    struct sigaction previous {};
    ::sigaction(SIGINT, &action, &previous);
    if (stopAfter) {
        startStopTimer(static_cast<int>(stopAfter->count()));
    }
    Program& program = *program_;
    bool stopped = false;
    while (!program.idle()) {
        pollfd fds[2] = {{program.outputNotifyFd(), POLLIN, 0},
                         {program.inputNotifyFd(), POLLIN, 0}};
        ::poll(fds, 2, 20);
        program.pumpDevices();
        const bool timeUp = stopAt_ && std::chrono::steady_clock::now() >= *stopAt_;
        if (!stopped && (timeUp || g_interrupted.load()) &&
            program.mode() != TransportMode::tmIdle) {
            stopAt_.reset();
            stopped = true;
            program.StopPlayback();
        }
    }
    ::sigaction(SIGINT, &previous, nullptr);
}

}  // namespace murmelix::cli
