#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "support/scratch_folder.h"
#include "support/scripted_user_interface.h"

namespace murmelix {
namespace {

using testing::ScratchFolder;
using testing::ScriptedUserInterface;

ProgramSettings loaded(const std::string& text) {
    return SettingsFile::load(IniFile(text));
}

TEST(SettingsFileTest, EmptyFileGivesEveryDefault) {
    const ProgramSettings settings = loaded("");
    EXPECT_EQ(settings, ProgramSettings{});
    EXPECT_EQ(settings.segmentDuration, 80);
    EXPECT_EQ(settings.segmentDuration2, 120);
    EXPECT_TRUE(settings.zeroCrossAdjust);
    EXPECT_EQ(settings.randomPlay, 0);
    EXPECT_EQ(settings.randomPlayTime, 15);
    EXPECT_EQ(settings.randomSource, 0);
    EXPECT_TRUE(settings.useSeparateFolders);
    EXPECT_TRUE(settings.saveOnExit);
    EXPECT_TRUE(settings.restWinPos);
    EXPECT_EQ(settings.windowPosLeft, 200);
    EXPECT_EQ(settings.windowPosTop, 100);
    EXPECT_EQ(settings.cueLabelFont.name, "Courier New");
    EXPECT_EQ(settings.visualFeedbackWindowFont.name, "Wingdings");
    EXPECT_EQ(settings.visualFeedbackWindowFont.size, 300);
    EXPECT_EQ(settings.fractalGrowthConstant, 3.8);
    EXPECT_EQ(settings.recording, RecordingSettings{});
}

TEST(SettingsFileTest, LoadsValuesWithTheirRules) {
    using Check = std::function<bool(const ProgramSettings&)>;
    struct Case {
        const char* text;
        Check check;
    };
    const std::vector<Case> cases = {
        {"[SEGMENTS]\nUseCueList=1\nCrossFade=1\n",
         [](const auto& s) { return s.useCueList && s.crossFade; }},
        {"[segments]\nsegmentduration=0x10\n",
         [](const auto& s) { return s.segmentDuration == 16; }},
        {"[SEGMENTS]\nSegmentDuration=0\nSegmentDuration2=20000\n",
         [](const auto& s) { return s.segmentDuration == 1 && s.segmentDuration2 == 10000; }},
        {"[PLAYOQT]\nRandomPlayTime=500\nRandomPlay=1\n",
         [](const auto& s) { return s.randomPlayTime == 99 && s.randomPlay == 1; }},
        {"[PLAYOQT]\nRandomPlay=7\n", [](const auto& s) { return s.randomPlay == 0; }},
        {"[PROGRAM]\nRestWinPos=0\nWindowPosLeft=5\nWindowPosTop=6\n",
         [](const auto& s) { return !s.restWinPos && s.windowPosLeft == 200; }},
        {"[PROGRAM]\nWindowPosLeft=-5\nWindowPosTop=6\n",
         [](const auto& s) { return s.windowPosLeft == -5 && s.windowPosTop == 6; }},
        {"[RANDOMSOURCE]\nFractalGrowthConstant=3.57\nFractalInitPopulation=1E-5\n",
         [](const auto& s) {
             return s.fractalGrowthConstant == 3.57 && s.fractalInitPopulation == 1e-5;
         }},
        {"[RANDOMSOURCE]\nFractalGrowthConstant=3,57\n",
         [](const auto& s) { return s.fractalGrowthConstant == 3.8; }},
        {"[EFFECTS]\nEchoDelay=5000\nEchoDecay=-4\n",
         [](const auto& s) { return s.echoDelay == 1000 && s.echoDecay == 0; }},
        {"[RECORDING]\nRecChannels=2\nRecResolution=0\nRecBufferTimeMilliseconds=20\n",
         [](const auto& s) {
             return s.recording.recChannels == 0 && s.recording.recResolution == 0 &&
                    s.recording.recBufferTimeMilliseconds == 100;
         }},
        {"[RECORDING]\nRecNormalize=5\nRecSampleRate= 44100 \n",
         [](const auto& s) {
             return s.recording.recNormalize && s.recording.recSampleRate == "44100";
         }},
        {"[DEVICES]\nDevicePlayback=-1\nDeviceRecord=12\n",
         [](const auto& s) { return s.devicePlayback == -1 && s.deviceRecord == 12; }},
        {"[OQTSESSION]\nCueLabelFontName=Mono\nCueLabelFontColor=0xFF\nCueLabelFontStyleBold=1\n",
         [](const auto& s) {
             return s.cueLabelFont.name == "Mono" && s.cueLabelFontColor == 255 &&
                    s.cueLabelFont.bold;
         }},
        {"[SPEEDCONTROLWINDOW]\nSpeedControlWindowSliderPosition=180\n",
         [](const auto& s) { return s.speedControlWindowSliderPosition == 100; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_TRUE(c.check(loaded(c.text)));
    }
}

TEST(SettingsFileTest, MissingRecordingKeysKeepTheControlsAsTheyAre) {
    RecordingSettings current{"48000", 1, 0, 700, false};
    EXPECT_EQ(SettingsFile::load(IniFile(""), current).recording, current);
    const auto changed = SettingsFile::load(IniFile("[RECORDING]\nRecChannels=0\n"), current);
    EXPECT_EQ(changed.recording.recChannels, 0);
    EXPECT_EQ(changed.recording.recSampleRate, "48000");
}

ProgramSettings everythingChanged() {
    ProgramSettings s;
    s.segmentDuration = 33;
    s.segmentTo = true;
    s.randomPlay = 1;
    s.cueLabelFont = {"Serif", true, true, true, true, 12, 0};
    s.cueLabelFontColor = 0xFF00FF;
    s.saveOnExit = false;
    s.windowPosLeft = -40;
    s.sourceWavFiles = "/w/ä ö/";
    s.outputRandomNumberFiles = std::string(2047, 'p');
    s.randomSource = 3;
    s.randomSourceFile = "/r/noise.pcm";
    s.fractalGrowthConstant = 3.999999999;
    s.fractalInitPopulation = 0.123456789012345;
    s.echoDelay = 0;
    s.visualFeedbackWindowFont.strikeOut = true;
    s.visualFeedbackWindowHeight = 77;
    s.waveformWindowSnapToZeroCrossings = true;
    s.recording = {"8000", 1, 0, 1000, false};
    s.deviceRandomSource = -1;
    return s;
}

TEST(SettingsFileTest, StoreThenLoadGivesTheSameSettingsAndKeepsForeignLines) {
    const std::vector<std::string> starts = {"",
                                             "; mine\n[FOREIGN]\na=b\n[segments]\nsegmentto=0\n"};
    for (const auto& start : starts) {
        IniFile ini(start);
        ASSERT_TRUE(SettingsFile::store(everythingChanged(), ini));
        const std::string text = ini.text();
        EXPECT_EQ(SettingsFile::load(IniFile(text)), everythingChanged());
        EXPECT_EQ(text.find("; mine\n[FOREIGN]\na=b\n") == 0, !start.empty());
        // Keys come in the table's order: the first section written leads.
        EXPECT_LT(text.find("SegmentDuration="), text.find("DeviceRandomSource="));
        EXPECT_LT(text.find("SegmentDuration="), text.find("[PLAYOQT]"));
    }
}

TEST(SettingsFileTest, SaveAndLoadReportWhatTheUserNeeds) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.file("dir.ini"));
    const std::string existing = folder.file("murmelix.ini");
    ASSERT_TRUE(IniFile("[X]\ny=1\n").saveFile(existing));
    ProgramSettings withBreak;
    withBreak.sessionFiles = "/a\nb/";
    struct Case {
        std::string path;
        ProgramSettings settings;
        bool written;
        const char* messageStart;  // empty: no message
    };
    const std::vector<Case> cases = {
        {existing, everythingChanged(), true, ""},
        {folder.file("new/sub/murmelix.ini"), everythingChanged(), true, ""},
        {folder.file("dir.ini"), everythingChanged(), false, "Can't write settings file '"},
        {folder.file("withbreak.ini"), withBreak, true, "Settings file '"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        ScriptedUserInterface ui;
        EXPECT_EQ(SettingsFile::save(c.path, c.settings, ui), c.written);
        ASSERT_EQ(ui.messages.size(), std::string(c.messageStart).empty() ? 0u : 1u);
        if (!ui.messages.empty()) {
            EXPECT_EQ(ui.messages[0].caption, "Error");
            EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
            EXPECT_EQ(ui.messages[0].text.rfind(c.messageStart, 0), 0u) << ui.messages[0].text;
            EXPECT_NE(ui.messages[0].text.find(c.path), std::string::npos);
        }
    }
    ScriptedUserInterface ui;
    EXPECT_EQ(SettingsFile::load(existing, ui), everythingChanged());
    std::string text;
    ASSERT_TRUE(readWholeFile(existing, text));
    EXPECT_EQ(text.rfind("[X]\ny=1\n", 0), 0u);
    EXPECT_EQ(SettingsFile::load(folder.file("none.ini"), ui), ProgramSettings{});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(SettingsFile::load(folder.file("dir.ini"), ui), ProgramSettings{});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("Can't read settings file '", 0), 0u);
}

TEST(SettingsFileTest, DeviceIndexesNamingNoDeviceSelectTheDefault) {
    struct Case {
        int index;
        int count;
        int expected;
    };
    const std::vector<Case> cases = {
        {0, 2, 0}, {1, 2, 1}, {2, 2, -1}, {-1, 2, -1}, {-7, 2, -1}, {0, 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(ProgramSettings::deviceId(c.index, c.count), c.expected);
    }
}

}  // namespace
}  // namespace murmelix
