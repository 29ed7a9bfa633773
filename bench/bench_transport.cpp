// Time from a finished buffer reaching the UI thread to its slot refilled and queued again,
// for an OQT of 20 ms segments (the shortest the program makes in practice), on the
// simulated device so that only the program's own work is measured. Prints p50 and p99
// (target: p99 under 2 ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "base/console_user_interface.h"
#include "device/simulated_output_device.h"
#include "random/random_number_log.h"
#include "random/random_source.h"
#include "random/unavailable_noise_input.h"
#include "session/session_workflow.h"
#include "transport/transport.h"

namespace murmelix {
namespace {

class QuietHost : public TransportHost {
  public:
    void applyTransportMode(TransportMode) override {}
};

AudioDocument speech() {
    AudioDocument doc;
    doc.format = {1, 2, 44100, 44100 * 4, 4, 16, 0};
    doc.data.resize(44100 * 4 * 600);
    uint32_t state = 7;
    for (auto& byte : doc.data) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    doc.commit("/tmp/speech.wav");
    return doc;
}

void BM_RefillAfterDone(benchmark::State& state) {
    const bool crossFade = state.range(0) != 0;
    ConsoleUserInterface ui(nullptr);
    AudioDocument doc = speech();
    SegmentControls controls;
    controls.durationMs = 20;
    controls.crossFade = crossFade;
    UnavailableNoiseInput input;
    RandomSource source(ui, input);
    RandomNumberLog log(ui);
    Session session;
    session.recordMode = true;
    SessionWorkflow workflow(session, ui);
    SimulatedOutputDevice device;
    QuietHost host;
    Transport transport({doc, controls, source, log, session, workflow, device, ui, host});
    transport.MakeOqt();
    std::vector<double> micros;
    for (auto _ : state) {
        device.advance(20);  // one segment finishes
        const auto start = std::chrono::steady_clock::now();
        transport.pumpDone();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    transport.StopPlayback();
    for (int i = 0; i < 100000 && !transport.settled(); ++i) {
        device.advance(1);
        transport.pumpDone();
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["p50_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    }
}

BENCHMARK(BM_RefillAfterDone)->Arg(0)->Arg(1)->Iterations(20000);

}  // namespace
}  // namespace murmelix

BENCHMARK_MAIN();
