#include "gui/feedback_symbol.h"

#include <array>

#include "base/text_format.h"

namespace murmelix {

namespace {

constexpr std::array<uint32_t, FeedbackSymbol::kColorCount> kColorTable = {
    0x000000,  // black
    0x000080,  // maroon
    0x008000,  // green
    0x008080,  // olive
    0x800000,  // navy
    0x800080,  // purple
    0x808000,  // teal
    0xC0C0C0,  // silver
    0x808080,  // grey
    0x0000FF,  // red
    0x00FF00,  // lime
    0x00FFFF,  // yellow
    0xFF0000,  // blue
    0xFF00FF,  // fuchsia
    0xFFFF00,  // aqua
};

// A remainder in 0..divisor-1 whatever the sign of the value.
int64_t wrap(int64_t value, int64_t divisor) {
    const int64_t remainder = value % divisor;
    return remainder < 0 ? remainder + divisor : remainder;
}

// Floor division, so that the colour steps on at the same place below zero as above.
int64_t floorDivide(int64_t value, int64_t divisor) {
    return (value - wrap(value, divisor)) / divisor;
}

}  // namespace

int FeedbackSymbol::characterCode(int32_t segmentNumber) {
    return static_cast<int>(wrap(segmentNumber, kCharacterCount)) + kFirstCharacterCode;
}

int FeedbackSymbol::colorIndex(int32_t segmentNumber) {
    return static_cast<int>(wrap(floorDivide(segmentNumber, kCharacterCount), kColorCount));
}

uint32_t FeedbackSymbol::colorRef(int32_t segmentNumber) {
    return kColorTable[static_cast<size_t>(colorIndex(segmentNumber))];
}

uint32_t FeedbackSymbol::tableColor(int index) {
    return kColorTable[static_cast<size_t>(wrap(index, kColorCount))];
}

FeedbackSymbol::Rgb FeedbackSymbol::toRgb(uint32_t colorRef) {
    return Rgb{static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
               static_cast<int>((colorRef >> 16) & 0xFF)};
}

std::string FeedbackSymbol::noteA(const Context& context) {
    const bool segTo = context.segToChecked && context.segToEnabled;
    const bool overlap = context.overlapChecked && context.overlapEnabled;
    if (!segTo && !overlap) {
        return {};
    }
    return "\"Segments To\" and \"Overlap\" should not be checked.";
}

std::string FeedbackSymbol::noteB(const Context& context) {
    // The duration spin edit is disabled in cue mode: the cues are as many as the file holds.
    if (!context.durationEnabled || context.segmentCount <= kCombinationCount) {
        return {};
    }
    return formatText(
        "Number of segments (%lld) is greater than number of character/color combinations "
        "(%d). ",
        static_cast<long long>(context.segmentCount), kCombinationCount);
}

std::string FeedbackSymbol::notes(const Context& context) {
    const std::string a = noteA(context);
    const std::string b = noteB(context);
    const bool any = !a.empty() || !b.empty();
    const bool both = !a.empty() && !b.empty();
    return formatText("%s%s%s%s", any ? "Note: " : "", b.c_str(), both ? "Also " : "", a.c_str());
}

}  // namespace murmelix
