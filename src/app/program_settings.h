#pragma once

#include <string>

namespace murmelix {

// A font as the settings file keeps it: name, the four style flags, size in points and the
// character set number (1 is the system's default set).
struct FontSettings {
    std::string name;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int size = 10;
    int charset = 1;
    bool operator==(const FontSettings&) const = default;
};

// The recording parameters dialog and the recording buffer length. Unlike every other
// value, a key missing from the file leaves these as the controls currently show them.
struct RecordingSettings {
    static constexpr int kMinBufferTimeMs = 100;
    static constexpr int kMaxBufferTimeMs = 1000;

    std::string recSampleRate = "22050";
    int recChannels = 0;    // 0 mono, 1 stereo
    int recResolution = 1;  // 0 8 bit, 1 16 bit
    int recBufferTimeMilliseconds = 100;
    bool recNormalize = true;
    bool operator==(const RecordingSettings&) const = default;
};

// Every value the settings file keeps, with the value a missing key gives. The windows and
// the program objects are the values' real homes; this record carries them between those and
// the file. Ranged values hold what their controls would show (clamped when loaded).
struct ProgramSettings {
    static constexpr int kMinSegmentDurationMs = 1;
    static constexpr int kMaxSegmentDurationMs = 10000;
    static constexpr int kMinRandomPlayTime = 1;
    static constexpr int kMaxRandomPlayTime = 99;
    static constexpr int kMaxEchoDelayMs = 1000;
    static constexpr int kMaxEchoDecayPercent = 100;
    static constexpr int kMaxSliderPosition = 100;
    static constexpr int kNoDevice = -1;

    // SEGMENTS
    int segmentDuration = 80;
    int segmentDuration2 = 120;
    bool segmentTo = false;
    bool useCueList = false;
    bool overlap = false;
    bool zeroCrossAdjust = true;
    bool crossFade = false;
    // PLAYOQT
    int randomPlayTime = 15;
    int randomPlay = 0;  // item of the "Play OQT" group: 0 continuously, 1 for the seconds
    // OQTSESSION
    FontSettings cueLabelFont{"Courier New", false, false, false, false, 10, 1};
    int cueLabelFontColor = 0;
    // PROGRAM
    bool saveOnExit = true;
    bool restWinPos = true;
    // The main window's position; loaded only when restWinPos is on, always saved.
    int windowPosLeft = 200;
    int windowPosTop = 100;
    // INITIALDIRS
    bool useSeparateFolders = true;
    std::string sourceWavFiles;
    std::string outputWavFiles;
    std::string sessionFiles;
    std::string randomSourceFiles;
    std::string outputRandomNumberFiles;
    // RANDOMSOURCE
    int randomSource = 0;  // 0 pseudo RNG, 1 sound card, 2 file, 3 fractal formula
    std::string randomSourceFile;
    bool randomSourceFileLoop = true;
    bool randomSourceRecNew = true;
    bool randomSourceUseAbs = false;
    bool randomSourceRecBest = true;
    double fractalGrowthConstant = 3.8;
    double fractalInitPopulation = 0.5;
    // EFFECTS
    int echoDelay = 100;
    int echoDecay = 50;
    // SPEEDCONTROLWINDOW
    bool speedControlWindowVisible = false;
    int speedControlWindowLeftPosition = 0;
    int speedControlWindowTopPosition = 0;
    int speedControlWindowSliderPosition = 50;
    // VISUALFEEDBACKWINDOW
    bool visualFeedbackWindowVisible = false;
    int visualFeedbackWindowLeftPosition = 0;
    int visualFeedbackWindowTopPosition = 0;
    int visualFeedbackWindowWidth = 550;
    int visualFeedbackWindowHeight = 500;
    FontSettings visualFeedbackWindowFont{"Wingdings", false, false, false, false, 300, 1};
    // WAVEFORMWINDOW
    bool waveformWindowVisible = false;
    int waveformWindowLeftPosition = 0;
    int waveformWindowTopPosition = 0;
    int waveformWindowWidth = 900;
    int waveformWindowHeight = 320;
    // Dragged region borders land on rising zero crossings.
    bool waveformWindowSnapToZeroCrossings = false;
    // RECORDING
    RecordingSettings recording;
    // DEVICES: item indexes of the three device boxes.
    int devicePlayback = 0;
    int deviceRecord = 0;
    int deviceRandomSource = 0;

    bool operator==(const ProgramSettings&) const = default;

    // The device id a stored item index stands for among deviceCount devices: an index
    // that names no device selects nothing, which is the system's default device (-1).
    static int deviceId(int index, int deviceCount);
};

}  // namespace murmelix
