#pragma once

struct SRC_STATE_tag;

namespace murmelix {

// A sample-rate converter whose ratio may change from one call to the next (libsamplerate's
// sinc converter, which glides to a new ratio within a call, so speed changes are smooth).
// Everything is allocated by open(); process() and reset() do not allocate and may run on
// the audio thread.
class Resampler {
  public:
    struct Result {
        long used = 0;       // input frames consumed
        long generated = 0;  // output frames written
    };

    Resampler() = default;
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // False when the converter cannot be made (out of memory).
    bool open(int channels);
    void close();
    bool isOpen() const { return state_ != nullptr; }

    // Forgets the input it holds, as if newly opened.
    void reset();

    // ratio = output rate / input rate, limited to what the converter can do. With
    // endOfInput the converter also gives out the tail it holds back for its filter.
    Result process(const float* in, long inFrames, float* out, long outFrames, double ratio,
                   bool endOfInput);

    static bool isUsableRatio(double ratio);
    static double limitRatio(double ratio);

  private:
    SRC_STATE_tag* state_ = nullptr;
};

}  // namespace murmelix
