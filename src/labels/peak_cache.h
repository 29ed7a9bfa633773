#pragma once

#include <cstdint>
#include <vector>

#include "audio/audio_document.h"

namespace murmelix {

// The lowest and highest sample value of a stretch of one channel.
struct Peak {
    int16_t min = 0;
    int16_t max = 0;

    bool operator==(const Peak&) const = default;
};

// A min/max overview of a document, per channel, at a few levels: one peak per 256 frames,
// and coarser ones made from it by 4x reduction (1024, 4096, ...). Built once per change
// of the document (build() takes well under a second for hours of sound, so the window may
// run it on a worker and swap the result in), then asked for as many columns as a view
// has, at any zoom. Columns are exact: a column's min and max are those of its frames,
// whole blocks taken from the levels and the frames at its edges read from the document.
//
// The cache keeps no reference to the document: columns() is given the document the cache
// was built from (and gives nothing for another frame count).
class PeakCache {
  public:
    static constexpr int64_t kBaseBlock = 256;
    static constexpr int kReduction = 4;

    void build(const AudioDocument& doc);
    void clear();

    int channels() const { return channels_; }
    int64_t frameCount() const { return frameCount_; }
    int levels() const { return static_cast<int>(blocks_.size()); }
    int64_t framesPerBlock(int level) const;
    // The peaks of one level of one channel; block i covers frames i * framesPerBlock(level)
    // on (the last one fewer when the frame count is no multiple).
    const std::vector<Peak>& blocks(int level, int channel) const;

    // `width` columns of one channel: column c covers the frames from
    // floor(firstFrame + c * framesPerColumn) up to (not including) that of c + 1, at least
    // one frame. Columns wholly outside the data are empty (min 0 > max -1 is avoided: they
    // get {0, 0} and `present` false).
    struct Column {
        Peak peak;
        bool present = false;
    };
    std::vector<Column> columns(const AudioDocument& doc, int channel, double firstFrame,
                                double framesPerColumn, int width) const;

    // Min and max of frames [from, to) of one channel; {0, 0} for an empty range.
    Peak range(const AudioDocument& doc, int channel, int64_t from, int64_t to) const;

  private:
    Peak rawRange(const AudioDocument& doc, int channel, int64_t from, int64_t to) const;
    void buildBase(const AudioDocument& doc);

    int channels_ = 0;
    int64_t frameCount_ = 0;
    // blocks_[level][channel]
    std::vector<std::vector<std::vector<Peak>>> blocks_;
};

}  // namespace murmelix
