#include "app/settings_binding.h"

#include <algorithm>

#include "app/program.h"

namespace murmelix {

namespace {

// Records built by hand get what the spin edits would make of them.
int clampDuration(int milliseconds) {
    return std::clamp(milliseconds, ProgramSettings::kMinSegmentDurationMs,
                      ProgramSettings::kMaxSegmentDurationMs);
}

}  // namespace

void SettingsBinding::apply(const ProgramSettings& settings, Program& program,
                            DeviceCounts devices) {
    applySegments(settings, program);
    applyFolders(settings, program);
    applyRandomSource(settings, program);
    program.echoDelayMs = std::clamp(settings.echoDelay, 0, ProgramSettings::kMaxEchoDelayMs);
    program.echoDecayPercent =
        std::clamp(settings.echoDecay, 0, ProgramSettings::kMaxEchoDecayPercent);
    Recorder& recorder = program.recorder();
    const RecordingSettings& recording = settings.recording;
    recorder.parameters.sampleRateText = recording.recSampleRate;
    recorder.parameters.channelsIndex = recording.recChannels;
    recorder.parameters.resolutionIndex = recording.recResolution;
    recorder.parameters.normalize = recording.recNormalize;
    recorder.bufferTimeMilliseconds =
        std::clamp(recording.recBufferTimeMilliseconds, RecordingSettings::kMinBufferTimeMs,
                   RecordingSettings::kMaxBufferTimeMs);
    applyDevices(settings, program, devices);
}

// Setting a spin edit runs its change handler, which derives the segment length.
void SettingsBinding::applySegments(const ProgramSettings& settings, Program& program) {
    SegmentControls& controls = program.controls;
    controls.durationMs = clampDuration(settings.segmentDuration);
    controls.updateMinimumLength(program.document);
    controls.duration2Ms = clampDuration(settings.segmentDuration2);
    controls.updateMaximumLength(program.document);
    controls.segTo = settings.segmentTo;
    controls.useCueList = settings.useCueList;
    controls.overlap = settings.overlap;
    controls.zeroCrossAdjust = settings.zeroCrossAdjust;
    controls.crossFade = settings.crossFade;
    // Setting the seconds chooses timed play; the stored choice then decides.
    Transport& transport = program.transport();
    transport.timedOqtSeconds =
        std::clamp(settings.randomPlayTime, ProgramSettings::kMinRandomPlayTime,
                   ProgramSettings::kMaxRandomPlayTime);
    transport.timedOqt = settings.randomPlay == 1;
}

void SettingsBinding::applyFolders(const ProgramSettings& settings, Program& program) {
    program.setUseSeparateFolders(settings.useSeparateFolders);
    program.wavFolder = settings.sourceWavFiles;
    program.exportFolder = settings.outputWavFiles;
    program.sessionFolder = settings.sessionFiles;
    program.source.setSourceFolder(settings.randomSourceFiles);
    program.log.setOutputFolder(settings.outputRandomNumberFiles);
}

// Selected as by its menu command but without the formula dialog; the options and the
// formula's values follow, so a selected file source starts with the stored options.
void SettingsBinding::applyRandomSource(const ProgramSettings& settings, Program& program) {
    RandomSource& source = program.source;
    source.SelectRandomSource(settings.randomSource, settings.randomSourceFile, false);
    source.setLoopFile(settings.randomSourceFileLoop);
    source.setRecordNew(settings.randomSourceRecNew);
    source.setUseAbsolute(settings.randomSourceUseAbs);
    source.setRecordBestRate(settings.randomSourceRecBest);
    source.setGrowthConstant(settings.fractalGrowthConstant);
    source.setPopulation(settings.fractalInitPopulation);
}

void SettingsBinding::applyDevices(const ProgramSettings& settings, Program& program,
                                   DeviceCounts devices) {
    program.transport().outputDeviceId =
        ProgramSettings::deviceId(settings.devicePlayback, devices.outputs);
    program.recorder().inputDeviceId =
        ProgramSettings::deviceId(settings.deviceRecord, devices.inputs);
    program.source.setInputDevice(
        ProgramSettings::deviceId(settings.deviceRandomSource, devices.inputs));
}

void SettingsBinding::capture(const Program& program, ProgramSettings& settings) {
    const SegmentControls& controls = program.controls;
    settings.segmentDuration = controls.durationMs;
    settings.segmentDuration2 = controls.duration2Ms;
    settings.segmentTo = controls.segTo;
    settings.useCueList = controls.useCueList;
    settings.overlap = controls.overlap;
    settings.zeroCrossAdjust = controls.zeroCrossAdjust;
    settings.crossFade = controls.crossFade;
    settings.randomPlayTime = program.transport().timedOqtSeconds;
    settings.randomPlay = program.transport().timedOqt ? 1 : 0;

    settings.useSeparateFolders = program.useSeparateFolders();
    settings.sourceWavFiles = program.wavFolder;
    settings.outputWavFiles = program.exportFolder;
    settings.sessionFiles = program.sessionFolder;
    settings.randomSourceFiles = program.source.sourceFolder();
    settings.outputRandomNumberFiles = program.log.outputFolder();

    const RandomSource& source = program.source;
    settings.randomSource = static_cast<int>(source.kind());
    settings.randomSourceFile = source.fileName();
    settings.randomSourceFileLoop = source.loopFile();
    settings.randomSourceRecNew = source.recordNew();
    settings.randomSourceUseAbs = source.useAbsolute();
    settings.randomSourceRecBest = source.recordBestRate();
    // The population goes back as it is now, so the next run continues the orbit.
    settings.fractalGrowthConstant = static_cast<double>(source.growthConstant());
    settings.fractalInitPopulation = static_cast<double>(source.population());
    settings.echoDelay = program.echoDelayMs;
    settings.echoDecay = program.echoDecayPercent;

    const Recorder& recorder = program.recorder();
    settings.recording.recSampleRate = recorder.parameters.sampleRateText;
    settings.recording.recChannels = recorder.parameters.channelsIndex;
    settings.recording.recResolution = recorder.parameters.resolutionIndex;
    settings.recording.recNormalize = recorder.parameters.normalize;
    settings.recording.recBufferTimeMilliseconds = recorder.bufferTimeMilliseconds;
    settings.devicePlayback = program.transport().outputDeviceId;
    settings.deviceRecord = program.recorder().inputDeviceId;
    settings.deviceRandomSource = program.source.inputDevice();
}

}  // namespace murmelix
