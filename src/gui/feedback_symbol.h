#pragma once

#include <cstdint>
#include <string>

namespace murmelix {

// What the feedback window shows for a segment number: one of 223 characters (codes 33 to
// 255) in one of 15 colours, so 3345 segment numbers in a row look different, and notes
// that warn when the numbers of a run cannot tell its segments apart.
class FeedbackSymbol {
  public:
    static constexpr int kFirstCharacterCode = 33;
    static constexpr int kCharacterCount = 223;
    static constexpr int kColorCount = 15;
    static constexpr int kCombinationCount = kCharacterCount * kColorCount;

    struct Rgb {
        int red = 0;
        int green = 0;
        int blue = 0;
        bool operator==(const Rgb&) const = default;
    };

    // The state of the main window's segment controls and of the run the notes speak about.
    struct Context {
        bool segToChecked = false;
        bool segToEnabled = false;
        bool overlapChecked = false;
        bool overlapEnabled = false;
        // The number of distinct segments of the run: the cue count in cue mode, otherwise
        // the number of frames divided by the segment length.
        int64_t segmentCount = 0;
        bool durationEnabled = false;
    };

    // (n mod 223) + 33. Negative numbers wrap like positive ones, so the code is always one
    // of the 223 characters.
    static int characterCode(int32_t segmentNumber);
    // (n div 223) mod 15, an index into the colour table.
    static int colorIndex(int32_t segmentNumber);
    // The colour of a segment number as the settings keep colours, red in the low byte
    // (0x00BBGGRR).
    static uint32_t colorRef(int32_t segmentNumber);
    // Entry `index` (0 to 14) of the colour table: the sixteen standard colours without white,
    // the background. Indexes outside the table wrap.
    static uint32_t tableColor(int index);
    static Rgb toRgb(uint32_t colorRef);

    // "Segments To" or "Overlap" in use: segments overlap, so one number stands for
    // different sounds.
    static std::string noteA(const Context& context);
    // More segments than combinations: different segments share a picture.
    static std::string noteB(const Context& context);
    // The text under the symbol: both notes joined, or empty when neither applies.
    static std::string notes(const Context& context);
};

}  // namespace murmelix
