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
    Program::DialogValues values = program.dialogValues();
    values.echoDelayMs = std::clamp(settings.echoDelay, 0, ProgramSettings::kMaxEchoDelayMs);
    values.echoDecayPercent =
        std::clamp(settings.echoDecay, 0, ProgramSettings::kMaxEchoDecayPercent);
    program.setDialogValues(values);
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
    SegmentControls controls = program.controls();
    controls.durationMs = clampDuration(settings.segmentDuration);
    controls.duration2Ms = clampDuration(settings.segmentDuration2);
    controls.segTo = settings.segmentTo;
    controls.useCueList = settings.useCueList;
    controls.overlap = settings.overlap;
    controls.zeroCrossAdjust = settings.zeroCrossAdjust;
    controls.crossFade = settings.crossFade;
    program.setSegmentControls(controls);
    // Setting the seconds chooses timed play; the stored choice then decides.
    Transport& transport = program.transport();
    transport.timedOqtSeconds =
        std::clamp(settings.randomPlayTime, ProgramSettings::kMinRandomPlayTime,
                   ProgramSettings::kMaxRandomPlayTime);
    transport.timedOqt = settings.randomPlay == 1;
}

void SettingsBinding::applyFolders(const ProgramSettings& settings, Program& program) {
    Folders& folders = program.folders();
    folders.setSeparate(settings.useSeparateFolders);
    folders.remember(Folders::Kind::Wav, settings.sourceWavFiles);
    folders.remember(Folders::Kind::Export, settings.outputWavFiles);
    folders.remember(Folders::Kind::Session, settings.sessionFiles);
    folders.remember(Folders::Kind::RandomSource, settings.randomSourceFiles);
    folders.remember(Folders::Kind::RandomNumbers, settings.outputRandomNumberFiles);
}

// Selected as by its menu command but without the formula dialog; the options and the
// formula's values follow, so a selected file source starts with the stored options.
void SettingsBinding::applyRandomSource(const ProgramSettings& settings, Program& program) {
    RandomSource& source = program.source();
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
    program.source().setInputDevice(
        ProgramSettings::deviceId(settings.deviceRandomSource, devices.inputs));
}

void SettingsBinding::capture(const Program& program, ProgramSettings& settings) {
    const SegmentControls& controls = program.controls();
    settings.segmentDuration = controls.durationMs;
    settings.segmentDuration2 = controls.duration2Ms;
    settings.segmentTo = controls.segTo;
    settings.useCueList = controls.useCueList;
    settings.overlap = controls.overlap;
    settings.zeroCrossAdjust = controls.zeroCrossAdjust;
    settings.crossFade = controls.crossFade;
    settings.randomPlayTime = program.transport().timedOqtSeconds;
    settings.randomPlay = program.transport().timedOqt ? 1 : 0;

    const Folders& folders = program.folders();
    settings.useSeparateFolders = folders.separate();
    settings.sourceWavFiles = folders.remembered(Folders::Kind::Wav);
    settings.outputWavFiles = folders.remembered(Folders::Kind::Export);
    settings.sessionFiles = folders.remembered(Folders::Kind::Session);
    settings.randomSourceFiles = folders.remembered(Folders::Kind::RandomSource);
    settings.outputRandomNumberFiles = folders.remembered(Folders::Kind::RandomNumbers);

    const RandomSource& source = program.source();
    settings.randomSource = static_cast<int>(source.kind());
    settings.randomSourceFile = source.fileName();
    settings.randomSourceFileLoop = source.loopFile();
    settings.randomSourceRecNew = source.recordNew();
    settings.randomSourceUseAbs = source.useAbsolute();
    settings.randomSourceRecBest = source.recordBestRate();
    // The population goes back as it is now, so the next run continues the orbit.
    settings.fractalGrowthConstant = static_cast<double>(source.growthConstant());
    settings.fractalInitPopulation = static_cast<double>(source.population());
    settings.echoDelay = program.dialogValues().echoDelayMs;
    settings.echoDecay = program.dialogValues().echoDecayPercent;

    const Recorder& recorder = program.recorder();
    settings.recording.recSampleRate = recorder.parameters.sampleRateText;
    settings.recording.recChannels = recorder.parameters.channelsIndex;
    settings.recording.recResolution = recorder.parameters.resolutionIndex;
    settings.recording.recNormalize = recorder.parameters.normalize;
    settings.recording.recBufferTimeMilliseconds = recorder.bufferTimeMilliseconds;
    settings.devicePlayback = program.transport().outputDeviceId;
    settings.deviceRecord = program.recorder().inputDeviceId;
    settings.deviceRandomSource = program.source().inputDevice();
}

}  // namespace murmelix
