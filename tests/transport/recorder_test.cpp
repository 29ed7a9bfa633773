#include "transport/recorder.h"

#include <gtest/gtest.h>

#include "device/simulated_input_device.h"
#include "transport_rig.h"

namespace murmelix {
namespace {

using testing::TransportRig;

// A transport rig with a recorder on a simulated input, wired as the program wires it.
struct RecorderRig : TransportRig {
    struct StopHost : testing::RecordingTransportHost {
        RecorderRig* rig = nullptr;
        void stopRecording() override { rig->recorder.stop(); }
        bool closeDocumentForRecording() override {
            ++rig->closes;
            if (rig->allowClose) {
                rig->doc.clear();
            }
            return rig->allowClose;
        }
    };
    SimulatedInputDevice input;
    StopHost stopHost;
    Transport recordTransport{
        {doc, controls, source, log, session, workflow, device, ui, stopHost}};
    int closes = 0;
    bool allowClose = true;
    Recorder recorder{{doc, input, recordTransport, ui, stopHost}};

    RecorderRig() { stopHost.rig = this; }

    void record(int milliseconds) {
        for (int i = 0; i < milliseconds; ++i) {
            input.advance(1);
            recorder.pumpDone();
        }
    }
    void stopAndDrain() {
        recordTransport.StopPlayback();
        recorder.pumpDone();
    }
};

RecordingParameters params(const char* rate, int channels, int resolution, bool normalize) {
    return {rate, channels, resolution, normalize};
}

TEST(RecorderTest, BlocksFollowTheFormatAndTwoStayQueued) {
    struct Case {
        RecordingParameters parameters;
        int bufferMs;
        int32_t blockSize;
        const char* firstAdd;
    } cases[] = {
        {params("22050", 0, 1, false), 100, 4410, "add 4410"},
        {params("8000", 1, 0, false), 100, 1600, "add 1600"},
        {params(" 44100", 1, 1, false), 250, 44100, "add 44100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameters.sampleRateText);
        RecorderRig rig;
        rig.recorder.bufferTimeMilliseconds = c.bufferMs;
        rig.ui.recordingAnswers.push_back(c.parameters);
        rig.recorder.StartRecording();
        ASSERT_EQ(rig.recordTransport.mode(), TransportMode::tmRecord);
        EXPECT_EQ(rig.recorder.blockSize(), c.blockSize);
        EXPECT_EQ(rig.input.calls()[2], c.firstAdd);
        EXPECT_EQ(rig.input.queued(), 2u);
        rig.record(c.bufferMs * 3 + 1);
        EXPECT_EQ(rig.input.queued(), 2u);
        EXPECT_EQ(rig.ui.captions.back(), "Recording ...");
        rig.stopAndDrain();
        EXPECT_EQ(rig.recordTransport.mode(), TransportMode::tmIdle);
        EXPECT_EQ(rig.doc.dataSize() % rig.doc.frameSize, 0);
        EXPECT_GE(rig.doc.dataSize(), 3 * c.blockSize);
        EXPECT_TRUE(rig.doc.loaded);
        EXPECT_TRUE(rig.doc.changed);
        EXPECT_TRUE(rig.doc.fileName.empty());
        EXPECT_FALSE(rig.input.isOpen());
    }
}

TEST(RecorderTest, StatusShowsFormatKilobytesAndTime) {
    RecorderRig rig;
    rig.ui.recordingAnswers.push_back(params("22050", 0, 1, false));
    rig.recorder.StartRecording();
    EXPECT_EQ(rig.ui.status[0], "Sample: 22050 Hz \xC2\xB7 16 Bit \xC2\xB7 Mono");
    EXPECT_EQ(rig.ui.status[1], "0 KB");
    EXPECT_EQ(rig.ui.status[2], "Time: 0.000 s");
    rig.record(101);  // one block of 4410 bytes
    EXPECT_EQ(rig.ui.status[1], "4 KB");
    EXPECT_EQ(rig.ui.status[2], "Time: 0.100 s");
    rig.stopAndDrain();
}

TEST(RecorderTest, RecordedSamplesBecomeTheDocumentAndAreNormalizedOnRequest) {
    for (const bool normalize : {false, true}) {
        RecorderRig rig;
        std::vector<uint8_t> source;
        for (int i = 0; i < 8000; ++i) {
            const int16_t v = static_cast<int16_t>((i % 2 == 0) ? 1000 : -500);
            source.push_back(static_cast<uint8_t>(v & 0xFF));
            source.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        }
        rig.input.setSource(source);
        rig.ui.recordingAnswers.push_back(params("8000", 0, 1, normalize));
        rig.recorder.StartRecording();
        rig.record(250);
        rig.stopAndDrain();
        ASSERT_GE(rig.doc.frameCount, 2000);
        EXPECT_EQ(rig.doc.read(0, 0), normalize ? 32767 : 1000);
        EXPECT_EQ(rig.doc.read(0, 1), normalize ? -16383 : -500);
        if (normalize) {
            EXPECT_NE(std::find(rig.ui.captions.begin(), rig.ui.captions.end(), "Normalizing ..."),
                      rig.ui.captions.end());
        }
    }
}

TEST(RecorderTest, RefusalsAndEmptyRecordingsLeaveNoDocument) {
    RecorderRig cancelled;
    cancelled.ui.recordingAnswers.push_back(std::nullopt);
    cancelled.recorder.StartRecording();
    EXPECT_TRUE(cancelled.input.calls().empty());

    RecorderRig keep;
    keep.allowClose = false;
    keep.recorder.StartRecording();
    EXPECT_TRUE(keep.ui.recordingDialogs.empty()) << "cancelled save question: no dialog";

    RecorderRig badRate;
    badRate.ui.recordingAnswers.push_back(params("abc", 0, 1, true));
    badRate.recorder.StartRecording();
    ASSERT_EQ(badRate.ui.messages.size(), 1u);
    EXPECT_EQ(badRate.ui.messages[0].text, "Invalid sample rate.");
    EXPECT_TRUE(badRate.input.calls().empty());

    RecorderRig refused;
    refused.input.refuseRate(12345);
    refused.ui.recordingAnswers.push_back(params("12345", 1, 0, true));
    refused.recorder.StartRecording();
    ASSERT_EQ(refused.ui.messages.size(), 1u);
    EXPECT_EQ(refused.ui.messages[0].caption, "Record In Error");
    EXPECT_EQ(refused.doc.format.samplesPerSec, 12345u);
    EXPECT_EQ(refused.doc.format.blockAlign, 2);
    EXPECT_EQ(refused.recordTransport.mode(), TransportMode::tmIdle);

    RecorderRig nothing;
    nothing.ui.recordingAnswers.push_back(params("8000", 1, 0, true));
    nothing.recorder.StartRecording();
    nothing.stopAndDrain();
    EXPECT_FALSE(nothing.doc.loaded);
    EXPECT_EQ(nothing.recordTransport.mode(), TransportMode::tmIdle);
}

}  // namespace
}  // namespace murmelix
