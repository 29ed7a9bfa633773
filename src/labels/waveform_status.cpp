#include "labels/waveform_status.h"

#include <cmath>
#include <cstdio>

namespace murmelix {

namespace {

double secondsOf(int64_t frames, double sampleRate) {
    return sampleRate > 0 ? static_cast<double>(frames) / sampleRate : 0.0;
}

std::string lengthText(int64_t frames, double sampleRate) {
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), "%.3f s", secondsOf(frames, sampleRate));
    return buffer;
}

}  // namespace

std::string WaveformStatus::timeText(int64_t frame, double sampleRate) {
    const auto millis = static_cast<long long>(std::llround(secondsOf(frame, sampleRate) * 1000));
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%lld:%02lld.%03lld", millis / 60000, millis / 1000 % 60,
                  millis % 1000);
    return buffer;
}

std::string WaveformStatus::selectionText(const WaveformSelection& selection, double sampleRate) {
    const auto span = selection.span();
    if (!span) {
        return "Cursor " + timeText(selection.cursor(), sampleRate);
    }
    return "Selection " + timeText(span->first, sampleRate) + " to " +
           timeText(span->second, sampleRate) + " (" +
           lengthText(span->second - span->first, sampleRate) + ")";
}

std::string WaveformStatus::regionText(const std::vector<CuePoint>& cues, size_t index,
                                       const WaveformSelection& selection, double sampleRate,
                                       bool found) {
    if (index >= cues.size()) {
        return {};
    }
    const CuePoint& cue = cues[index];
    const std::string number = std::to_string(index + 1);
    const std::string label = " \"" + cue.label + "\" ";
    std::string text;
    if (cue.length == 0) {
        text = (found ? "Found point " : "Point ") + number + label + "at " +
               timeText(cue.position, sampleRate);
    } else {
        const int64_t end = selection.endOf(cue);
        text = (found ? "Found region " : "Region ") + number + label +
               timeText(cue.position, sampleRate) + " to " + timeText(end, sampleRate) + " (" +
               lengthText(end - cue.position, sampleRate) + ")";
    }
    return cue.note.empty() ? text : text + ", " + cue.note;
}

std::string WaveformStatus::line(const WaveformSelection& selection,
                                 const std::vector<CuePoint>& cues, std::optional<size_t> pointed,
                                 double sampleRate, bool found) {
    std::string text = selectionText(selection, sampleRate);
    if (pointed && *pointed < cues.size()) {
        text += "   |   " + regionText(cues, *pointed, selection, sampleRate, found);
    }
    return text;
}

}  // namespace murmelix
