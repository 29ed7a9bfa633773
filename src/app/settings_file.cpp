#include "app/settings_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "app/ini_location.h"
#include "base/text_format.h"
#include "base/user_interface.h"

namespace murmelix {

namespace {

struct Range {
    int low = std::numeric_limits<int>::min();
    int high = std::numeric_limits<int>::max();
};

// Reads each key into its field; the field's value before reading is the default.
class Loader {
  public:
    Loader(const IniFile& ini, ProgramSettings& settings) : ini_(ini), settings_(settings) {}

    void integer(const char* section, const char* key, int& field, Range range = {}) {
        field = std::clamp(ini_.readInteger(section, key, field), range.low, range.high);
    }
    void boolean(const char* section, const char* key, bool& field) {
        field = ini_.readBool(section, key, field);
    }
    void floating(const char* section, const char* key, double& field) {
        field = ini_.readFloat(section, key, field);
    }
    void text(const char* section, const char* key, std::string& field) {
        field = ini_.readString(section, key, field);
    }
    // RestWinPos has been read just before: without it the platform places the window.
    void windowPosition(const char* section, const char* key, int& field) {
        if (settings_.restWinPos) {
            integer(section, key, field);
        }
    }
    // An item index that names no item would leave a radio group without a choice, and
    // the recorder with zero channels: such a value leaves the field as it was.
    void item(const char* section, const char* key, int& field, int count) {
        const int value = ini_.readInteger(section, key, field);
        if (value >= 0 && value < count) {
            field = value;
        }
    }

  private:
    const IniFile& ini_;
    ProgramSettings& settings_;
};

class Storer {
  public:
    explicit Storer(IniFile& ini) : ini_(ini) {}

    void integer(const char* section, const char* key, int& field, Range = {}) {
        ini_.writeInteger(section, key, field);
    }
    void boolean(const char* section, const char* key, bool& field) {
        ini_.writeBool(section, key, field);
    }
    void floating(const char* section, const char* key, double& field) {
        ini_.writeFloat(section, key, field);
    }
    void text(const char* section, const char* key, std::string& field) {
        if (!ini_.writeString(section, key, field)) {
            allWritten_ = false;
        }
    }
    void windowPosition(const char* section, const char* key, int& field) {
        integer(section, key, field);
    }
    void item(const char* section, const char* key, int& field, int) {
        integer(section, key, field);
    }

    bool allWritten() const { return allWritten_; }

  private:
    IniFile& ini_;
    bool allWritten_ = true;
};

template <typename Visitor>
void visitFont(Visitor& v, const char* section, const std::string& prefix, FontSettings& font,
               int* color) {
    v.text(section, (prefix + "Name").c_str(), font.name);
    v.boolean(section, (prefix + "StyleBold").c_str(), font.bold);
    v.boolean(section, (prefix + "StyleItalic").c_str(), font.italic);
    v.boolean(section, (prefix + "StyleUnderline").c_str(), font.underline);
    v.boolean(section, (prefix + "StyleStrikeOut").c_str(), font.strikeOut);
    v.integer(section, (prefix + "Size").c_str(), font.size);
    if (color != nullptr) {
        v.integer(section, (prefix + "Color").c_str(), *color);
    }
    v.integer(section, (prefix + "Charset").c_str(), font.charset);
}

template <typename Visitor>
void visitSegments(Visitor& v, ProgramSettings& s) {
    const Range duration{ProgramSettings::kMinSegmentDurationMs,
                         ProgramSettings::kMaxSegmentDurationMs};
    v.integer("SEGMENTS", "SegmentDuration", s.segmentDuration, duration);
    v.integer("SEGMENTS", "SegmentDuration2", s.segmentDuration2, duration);
    v.boolean("SEGMENTS", "SegmentTo", s.segmentTo);
    v.boolean("SEGMENTS", "UseCueList", s.useCueList);
    v.boolean("SEGMENTS", "Overlap", s.overlap);
    v.boolean("SEGMENTS", "ZeroCrossAdjust", s.zeroCrossAdjust);
    v.boolean("SEGMENTS", "CrossFade", s.crossFade);
    v.integer("PLAYOQT", "RandomPlayTime", s.randomPlayTime,
              {ProgramSettings::kMinRandomPlayTime, ProgramSettings::kMaxRandomPlayTime});
    v.item("PLAYOQT", "RandomPlay", s.randomPlay, 2);
}

template <typename Visitor>
void visitProgram(Visitor& v, ProgramSettings& s) {
    visitFont(v, "OQTSESSION", "CueLabelFont", s.cueLabelFont, &s.cueLabelFontColor);
    v.boolean("PROGRAM", "SaveOnExit", s.saveOnExit);
    v.boolean("PROGRAM", "RestWinPos", s.restWinPos);
    v.windowPosition("PROGRAM", "WindowPosLeft", s.windowPosLeft);
    v.windowPosition("PROGRAM", "WindowPosTop", s.windowPosTop);
    v.boolean("INITIALDIRS", "UseSeparateFolders", s.useSeparateFolders);
    v.text("INITIALDIRS", "SourceWavFiles", s.sourceWavFiles);
    v.text("INITIALDIRS", "OutputWavFiles", s.outputWavFiles);
    v.text("INITIALDIRS", "SessionFiles", s.sessionFiles);
    v.text("INITIALDIRS", "RandomSourceFiles", s.randomSourceFiles);
    v.text("INITIALDIRS", "OutputRandomNumberFiles", s.outputRandomNumberFiles);
}

template <typename Visitor>
void visitRandomSource(Visitor& v, ProgramSettings& s) {
    v.integer("RANDOMSOURCE", "RandomSource", s.randomSource);
    v.text("RANDOMSOURCE", "RandomSourceFile", s.randomSourceFile);
    v.boolean("RANDOMSOURCE", "RandomSourceFileLoop", s.randomSourceFileLoop);
    v.boolean("RANDOMSOURCE", "RandomSourceRecNew", s.randomSourceRecNew);
    v.boolean("RANDOMSOURCE", "RandomSourceUseAbs", s.randomSourceUseAbs);
    v.boolean("RANDOMSOURCE", "RandomSourceRecBest", s.randomSourceRecBest);
    v.floating("RANDOMSOURCE", "FractalGrowthConstant", s.fractalGrowthConstant);
    v.floating("RANDOMSOURCE", "FractalInitPopulation", s.fractalInitPopulation);
    v.integer("EFFECTS", "EchoDelay", s.echoDelay, {0, ProgramSettings::kMaxEchoDelayMs});
    v.integer("EFFECTS", "EchoDecay", s.echoDecay, {0, ProgramSettings::kMaxEchoDecayPercent});
}

template <typename Visitor>
void visitToolWindows(Visitor& v, ProgramSettings& s) {
    const char* speed = "SPEEDCONTROLWINDOW";
    v.boolean(speed, "SpeedControlWindowVisible", s.speedControlWindowVisible);
    v.integer(speed, "SpeedControlWindowLeftPosition", s.speedControlWindowLeftPosition);
    v.integer(speed, "SpeedControlWindowTopPosition", s.speedControlWindowTopPosition);
    v.integer(speed, "SpeedControlWindowSliderPosition", s.speedControlWindowSliderPosition,
              {0, ProgramSettings::kMaxSliderPosition});
    const char* feedback = "VISUALFEEDBACKWINDOW";
    v.boolean(feedback, "VisualFeedbackWindowVisible", s.visualFeedbackWindowVisible);
    v.integer(feedback, "VisualFeedbackWindowLeftPosition", s.visualFeedbackWindowLeftPosition);
    v.integer(feedback, "VisualFeedbackWindowTopPosition", s.visualFeedbackWindowTopPosition);
    v.integer(feedback, "VisualFeedbackWindowWidth", s.visualFeedbackWindowWidth);
    v.integer(feedback, "VisualFeedbackWindowHeight", s.visualFeedbackWindowHeight);
    visitFont(v, feedback, "VisualFeedbackWindowFont", s.visualFeedbackWindowFont, nullptr);
    const char* waveform = "WAVEFORMWINDOW";
    v.boolean(waveform, "WaveformWindowVisible", s.waveformWindowVisible);
    v.integer(waveform, "WaveformWindowLeftPosition", s.waveformWindowLeftPosition);
    v.integer(waveform, "WaveformWindowTopPosition", s.waveformWindowTopPosition);
    v.integer(waveform, "WaveformWindowWidth", s.waveformWindowWidth, {240, 100000});
    v.integer(waveform, "WaveformWindowHeight", s.waveformWindowHeight, {120, 100000});
    v.boolean(waveform, "WaveformWindowSnapToZeroCrossings", s.waveformWindowSnapToZeroCrossings);
}

template <typename Visitor>
void visitDevices(Visitor& v, ProgramSettings& s) {
    RecordingSettings& r = s.recording;
    v.text("RECORDING", "RecSampleRate", r.recSampleRate);
    v.item("RECORDING", "RecChannels", r.recChannels, 2);
    v.item("RECORDING", "RecResolution", r.recResolution, 2);
    v.integer("RECORDING", "RecBufferTimeMilliseconds", r.recBufferTimeMilliseconds,
              {RecordingSettings::kMinBufferTimeMs, RecordingSettings::kMaxBufferTimeMs});
    v.boolean("RECORDING", "RecNormalize", r.recNormalize);
    v.integer("DEVICES", "DevicePlayback", s.devicePlayback);
    v.integer("DEVICES", "DeviceRecord", s.deviceRecord);
    v.integer("DEVICES", "DeviceRandomSource", s.deviceRandomSource);
}

// Every key in the file's order.
template <typename Visitor>
void visitAll(Visitor& v, ProgramSettings& s) {
    visitSegments(v, s);
    visitProgram(v, s);
    visitRandomSource(v, s);
    visitToolWindows(v, s);
    visitDevices(v, s);
}

std::string describeError(int error) {
    return error != 0 ? std::string(std::strerror(error)) : std::string("input/output error");
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string writeError(const std::string& path, const std::string& cause) {
    return formatText(SettingsFile::kWriteError, path.c_str(), cause.c_str());
}

}  // namespace

ProgramSettings SettingsFile::load(const IniFile& ini, const RecordingSettings& currentRecording) {
    ProgramSettings settings;
    settings.recording = currentRecording;
    Loader loader(ini, settings);
    visitAll(loader, settings);
    return settings;
}

bool SettingsFile::store(const ProgramSettings& settings, IniFile& ini) {
    ProgramSettings copy = settings;
    Storer storer(ini);
    visitAll(storer, copy);
    return storer.allWritten();
}

ProgramSettings SettingsFile::load(const std::string& path, UserInterface& ui,
                                   const RecordingSettings& currentRecording) {
    IniFile ini;
    int error = 0;
    if (ini.readFile(path, &error) == IniFile::ReadResult::Failed) {
        ui.showError(formatText(kReadError, path.c_str(), describeError(error).c_str()));
    }
    return load(ini, currentRecording);
}

SettingsFile::WriteResult SettingsFile::write(const std::string& path,
                                              const ProgramSettings& settings) {
    WriteResult result;
    if (isFolder(path)) {
        result.message = writeError(path, "it is a folder");
        return result;
    }
    IniFile ini;
    int error = 0;
    // What the file holds besides our keys must survive; a file we cannot read would be lost.
    if (ini.readFile(path, &error) == IniFile::ReadResult::Failed) {
        result.message = writeError(path, describeError(error));
        return result;
    }
    const bool allStored = store(settings, ini);
    if (!IniLocation::prepareFolder(path, &error) || !ini.saveFile(path, &error)) {
        result.message = writeError(path, describeError(error));
        return result;
    }
    result.written = true;
    if (!allStored) {
        result.message = formatText(kLineBreakError, path.c_str());
    }
    return result;
}

bool SettingsFile::save(const std::string& path, const ProgramSettings& settings,
                        UserInterface& ui) {
    const WriteResult result = write(path, settings);
    if (!result.message.empty()) {
        ui.showError(result.message);
    }
    return result.written;
}

}  // namespace murmelix
