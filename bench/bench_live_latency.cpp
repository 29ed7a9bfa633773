// How quickly the sound follows the user, through the real sound path (PortAudio and the
// sound server's null sink, whose monitor is recorded with pacat at 10 ms latency):
//  - from Stop (the device reset and closed, as the transport does) to silence;
//  - from a speed change to the changed pitch.
// Each is measured five times; the median and the worst are printed against the target of
// 100 ms. The times include the monitor's own capture latency, so they are upper bounds.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "device/output_device.h"
#include "device/port_audio_output_device.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
constexpr double kRate = 44100;
constexpr double kTargetMs = 100;

// The sink's monitor, each chunk stamped with the time it arrived.
class Monitor {
  public:
    Monitor() {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const char* sink = std::getenv("MURMELIX_PULSE_SINK");
        const std::string device =
            std::string("--device=") + (sink != nullptr ? sink : "murmelix_null") + ".monitor";
        const char* argv[] = {
            "pacat",        "--record",          "--raw",        "--format=s16le", "--rate=44100",
            "--channels=1", "--latency-msec=10", device.c_str(), nullptr};
        posix_spawnp(&pid_, "pacat", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fd_ = fds[0];
        reader_ = std::thread([this] { read(); });
    }
    ~Monitor() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        reader_.join();
        close(fd_);
    }

    // The time each sample arrived and its value, from `since` on.
    std::vector<std::pair<Clock::time_point, float>> since(Clock::time_point since) {
        std::lock_guard lock(mutex_);
        std::vector<std::pair<Clock::time_point, float>> out;
        for (const auto& sample : samples_) {
            if (sample.first >= since) {
                out.push_back(sample);
            }
        }
        return out;
    }

  private:
    void read() {
        int16_t chunk[441];
        ssize_t got = 0;
        while ((got = ::read(fd_, chunk, sizeof chunk)) > 0) {
            const auto now = Clock::now();
            const size_t count = static_cast<size_t>(got) / 2;
            std::lock_guard lock(mutex_);
            for (size_t i = 0; i < count; ++i) {
                // The last sample of the chunk is the one that just arrived.
                const auto age = std::chrono::duration<double>((count - 1 - i) / kRate);
                samples_.push_back(
                    {now - std::chrono::duration_cast<Clock::duration>(age), chunk[i] / 32768.0f});
            }
        }
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<std::pair<Clock::time_point, float>> samples_;
};

murmelix::WaveFormat monoFormat() {
    return murmelix::WaveFormat::pcm(22050, 1, 16);
}

std::vector<uint8_t> tone(double hz, double seconds) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < static_cast<int>(seconds * 22050); ++i) {
        const auto v =
            static_cast<int16_t>(std::lround(0.4 * 32767 * std::sin(2 * M_PI * hz * i / 22050)));
        bytes.push_back(static_cast<uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
    return bytes;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// The sound playing on a freshly opened device for 700 ms.
void startPlaying(murmelix::PortAudioOutputDevice& device, murmelix::WaveBuffer& buffer,
                  const std::vector<uint8_t>& sound) {
    device.open(-1, monoFormat(), false);
    buffer.data = sound.data();
    buffer.length = static_cast<uint32_t>(sound.size());
    device.write(&buffer);
    std::this_thread::sleep_for(700ms);
}

// Stop to the last sound above silence.
double stopToSilence(Monitor& monitor, const std::vector<uint8_t>& sound) {
    murmelix::PortAudioOutputDevice device;
    murmelix::WaveBuffer buffer;
    startPlaying(device, buffer, sound);
    const auto stop = Clock::now();
    device.reset();
    device.close();
    std::this_thread::sleep_for(400ms);
    Clock::time_point last = stop;
    for (const auto& [at, value] : monitor.since(stop - 50ms)) {
        if (std::fabs(value) > 0.01f) {
            last = std::max(last, at);
        }
    }
    return ms(last - stop);
}

// A speed change to the first 5 ms of the doubled pitch.
double speedToPitch(Monitor& monitor, const std::vector<uint8_t>& sound) {
    murmelix::PortAudioOutputDevice device;
    murmelix::WaveBuffer buffer;
    startPlaying(device, buffer, sound);
    const auto change = Clock::now();
    device.setPlaybackRate(murmelix::OutputDevice::rateFromPercent(200));
    std::this_thread::sleep_for(400ms);
    device.reset();
    device.close();
    const auto heard = monitor.since(change);
    // 440 Hz crosses zero 4.4 times in 5 ms, 880 Hz 8.8 times.
    for (size_t at = 0; at + 220 < heard.size(); at += 22) {
        int crossings = 0;
        for (size_t i = at + 1; i < at + 220; ++i) {
            crossings += (heard[i - 1].second < 0) != (heard[i].second < 0) ? 1 : 0;
        }
        if (crossings >= 8) {
            return ms(heard[at].first - change);
        }
    }
    return 1000;
}

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-32s median %6.1f ms, worst %6.1f ms; target %.0f ms: %.2fx of it\n", what,
                median, times.back(), kTargetMs, times.back() / kTargetMs);
}

}  // namespace

int main() {
    Monitor monitor;
    std::this_thread::sleep_for(300ms);
    const auto sound = tone(440, 3);
    std::vector<double> stops, speeds;
    for (int i = 0; i < 5; ++i) {
        stops.push_back(stopToSilence(monitor, sound));
        speeds.push_back(speedToPitch(monitor, sound));
    }
    report("Stop to silence:", stops);
    report("speed change to changed sound:", speeds);
    return 0;
}
