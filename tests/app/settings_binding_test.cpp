#include "app/settings_binding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "device/simulated_input_device.h"
#include "device/simulated_output_device.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

using testing::ScriptedUserInterface;

struct ProgramRig {
    ScriptedUserInterface ui;
    SimulatedOutputDevice output;
    SimulatedInputDevice recordInput;
    SimulatedInputDevice noiseInput;
    Program program{ui, {output, recordInput, noiseInput}};
};

// Everything Program holds, changed from the defaults.
ProgramSettings programValues() {
    ProgramSettings s;
    s.segmentDuration = 40;
    s.segmentDuration2 = 400;
    s.segmentTo = true;
    s.useCueList = true;
    s.overlap = true;
    s.zeroCrossAdjust = false;
    s.crossFade = true;
    s.randomPlayTime = 30;
    s.randomPlay = 1;
    s.useSeparateFolders = false;
    s.sourceWavFiles = "/wav/";
    s.outputWavFiles = "/export/";
    s.sessionFiles = "/sessions/";
    s.randomSourceFiles = "/random/";
    s.outputRandomNumberFiles = "/numbers/";
    s.randomSource = 2;
    s.randomSourceFile = "/random/noise.pcm";
    s.randomSourceFileLoop = false;
    s.randomSourceRecNew = false;
    s.randomSourceUseAbs = true;
    s.randomSourceRecBest = false;
    s.fractalGrowthConstant = 3.6;
    s.fractalInitPopulation = 0.25;
    s.echoDelay = 250;
    s.echoDecay = 75;
    s.recording = {"44100", 1, 0, 300, false};
    s.devicePlayback = 1;
    s.deviceRecord = 0;
    s.deviceRandomSource = 1;
    return s;
}

TEST(SettingsBindingTest, ApplyThenCaptureGivesTheProgramsValuesBack) {
    ProgramRig rig;
    const ProgramSettings applied = programValues();
    SettingsBinding::apply(applied, rig.program, {2, 2});
    EXPECT_EQ(rig.program.source().kind(), RandomSourceKind::File);
    EXPECT_EQ(rig.program.transport().outputDeviceId, 1);
    EXPECT_TRUE(rig.program.transport().timedOqt);
    EXPECT_TRUE(rig.ui.fileDialogs.empty());

    ProgramSettings captured;
    captured.windowPosLeft = 12;  // a window's value: capture leaves it alone
    SettingsBinding::capture(rig.program, captured);
    ProgramSettings expected = applied;
    expected.windowPosLeft = 12;
    EXPECT_EQ(captured, expected);
}

TEST(SettingsBindingTest, AppliesTheStartUpRules) {
    struct Case {
        const char* name;
        ProgramSettings settings;
        SettingsBinding::DeviceCounts devices;
        ProgramSettings expected;  // what capture gives afterwards
        size_t fileDialogs;
    };
    std::vector<Case> cases;
    {
        Case c{"devices out of range", {}, {1, 0}, {}, 0};
        c.settings.devicePlayback = 3;
        c.settings.deviceRecord = 0;
        c.settings.deviceRandomSource = -4;
        c.expected.devicePlayback = -1;
        c.expected.deviceRecord = -1;
        c.expected.deviceRandomSource = -1;
        cases.push_back(c);
    }
    {
        Case c{"file source without a file asks, cancel keeps the generator", {}, {1, 1}, {}, 1};
        c.settings.randomSource = 2;
        c.settings.randomSourceUseAbs = true;
        c.expected.randomSourceUseAbs = true;
        cases.push_back(c);
    }
    {
        Case c{"unknown source kind changes nothing", {}, {1, 1}, {}, 0};
        c.settings.randomSource = 9;
        cases.push_back(c);
    }
    {
        Case c{"hand-made values are held in range", {}, {1, 1}, {}, 0};
        c.settings.segmentDuration = -5;
        c.settings.randomPlayTime = 1000;
        c.settings.echoDelay = 99999;
        c.settings.recording.recBufferTimeMilliseconds = 5;
        c.expected.segmentDuration = 1;
        c.expected.randomPlayTime = 99;
        c.expected.echoDelay = 1000;
        cases.push_back(c);
    }
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramRig rig;
        SettingsBinding::apply(c.settings, rig.program, c.devices);
        ProgramSettings captured;
        SettingsBinding::capture(rig.program, captured);
        EXPECT_EQ(captured, c.expected);
        EXPECT_EQ(rig.ui.fileDialogs.size(), c.fileDialogs);
    }
}

}  // namespace
}  // namespace murmelix
