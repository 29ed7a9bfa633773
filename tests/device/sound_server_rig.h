#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace murmelix::testing {

// The test sound server of scripts/sound-server.sh: a PulseAudio server with a null sink
// whose monitor hears everything played.
inline std::string soundServerFolder() {
    const char* folder = std::getenv("MURMELIX_PULSE_DIR");
    return folder != nullptr && *folder != '\0' ? folder : "/tmp/murmelix-pulse";
}

inline std::string nullSinkName() {
    const char* sink = std::getenv("MURMELIX_PULSE_SINK");
    return sink != nullptr && *sink != '\0' ? sink : "murmelix_null";
}

inline std::string soundServerScript() {
    return std::string(MURMELIX_SOURCE_DIR) + "/scripts/sound-server.sh";
}

// Points this process at the test server when the environment does not already name one,
// and tells whether a server answers.
inline bool reachTestSoundServer() {
    const char* server = std::getenv("PULSE_SERVER");
    const std::string socket = soundServerFolder() + "/native";
    if ((server == nullptr || *server == '\0') && std::filesystem::exists(socket)) {
        setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    }
    return std::system("timeout 5 pactl info >/dev/null 2>&1") == 0;
}

// Skips the test when no sound server runs, or fails it when MURMELIX_REQUIRE_SOUND is set
// (the test script sets it after starting the server, so that CI never skips silently).
#define MURMELIX_REQUIRE_SOUND_SERVER()                                               \
    do {                                                                              \
        if (!::murmelix::testing::reachTestSoundServer()) {                           \
            if (std::getenv("MURMELIX_REQUIRE_SOUND") != nullptr) {                   \
                FAIL() << "no sound server answers (scripts/sound-server.sh start)";  \
            }                                                                         \
            GTEST_SKIP() << "no sound server answers; start scripts/sound-server.sh"; \
        }                                                                             \
    } while (false)

// A sound server of the test's own, so that killing or freezing it leaves the shared one
// alone. This process (and what it starts) is pointed at it for the test's duration.
class PrivateSoundServer {
  public:
    PrivateSoundServer() {
        char pattern[] = "/tmp/murmelix-private-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            return;
        }
        folder_ = pattern;
        const char* previous = std::getenv("PULSE_SERVER");
        previous_ = previous != nullptr ? previous : "";
        hadPrevious_ = previous != nullptr;
        started_ = script("start") == 0;
        setenv("PULSE_SERVER", ("unix:" + folder_ + "/native").c_str(), 1);
    }

    ~PrivateSoundServer() {
        if (hadPrevious_) {
            setenv("PULSE_SERVER", previous_.c_str(), 1);
        } else {
            unsetenv("PULSE_SERVER");
        }
        if (!folder_.empty()) {
            signal(SIGCONT);
            script("stop");
            std::filesystem::remove_all(folder_);
        }
    }

    bool started() const { return started_; }
    static std::string sink() { return "murmelix_private"; }

    // SIGKILL as a crash would (no goodbye to the clients), SIGSTOP to freeze it, SIGCONT.
    void signal(int number) const {
        std::ifstream pidFile(folder_ + "/pid");
        pid_t pid = 0;
        if (pidFile >> pid && pid > 0) {
            ::kill(pid, number);
        }
    }
    void kill() const { signal(SIGKILL); }

    // Waits until some program plays into it or records from it; false after `limit`. A
    // loaded machine may take seconds to get a sanitizer build that far.
    bool waitForStream(std::chrono::milliseconds limit) const {
        const auto end = std::chrono::steady_clock::now() + limit;
        do {
            if (std::system("(timeout 2 pactl list short sink-inputs; timeout 2 pactl list short "
                            "source-outputs) 2>/dev/null | grep -q .") == 0) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }

  private:
    int script(const char* command) const {
        const std::string line = "MURMELIX_PULSE_DIR='" + folder_ +
                                 "' MURMELIX_PULSE_SINK=" + sink() + " '" + soundServerScript() +
                                 "' " + command + " >/dev/null 2>&1";
        return std::system(line.c_str());
    }

    std::string folder_;
    std::string previous_;
    bool hadPrevious_ = false;
    bool started_ = false;
};

// Records what the null sink plays, through its monitor, with PulseAudio's own recorder
// (so the check does not rely on the input device under test): 16-bit mono at 44100 Hz.
class MonitorRecorder {
  public:
    static constexpr double kRate = 44100;

    explicit MonitorRecorder(const std::string& sink = nullSinkName()) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const std::string device = "--device=" + sink + ".monitor";
        std::vector<std::string> args = {
            "pacat",        "--record",          "--raw", "--format=s16le", "--rate=44100",
            "--channels=1", "--latency-msec=10", device};
        std::vector<char*> argv;
        for (auto& a : args) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "pacat", &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        readFd_ = fds[0];
        reader_ = std::thread([this] {
            uint8_t chunk[4096];
            ssize_t got = 0;
            while ((got = ::read(readFd_, chunk, sizeof chunk)) > 0) {
                bytes_.insert(bytes_.end(), chunk, chunk + got);
            }
        });
    }

    ~MonitorRecorder() { stop(); }

    bool running() const { return pid_ > 0; }

    // Ends the recording and returns it as samples from -1 to 1.
    std::vector<float> stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
        if (reader_.joinable()) {
            reader_.join();
        }
        if (readFd_ >= 0) {
            ::close(readFd_);
            readFd_ = -1;
        }
        std::vector<float> samples(bytes_.size() / 2);
        for (size_t i = 0; i < samples.size(); ++i) {
            const auto value = static_cast<int16_t>(bytes_[2 * i] | (bytes_[2 * i + 1] << 8));
            samples[i] = static_cast<float>(value) / 32768.0f;
        }
        return samples;
    }

  private:
    pid_t pid_ = -1;
    int readFd_ = -1;
    std::thread reader_;
    std::vector<uint8_t> bytes_;
};

}  // namespace murmelix::testing
