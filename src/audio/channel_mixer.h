#pragma once

#include <vector>

namespace murmelix {

// How the channels of a source become the one or two channels of a document: each output
// channel is a weighted sum of the input channels.
//
// The downmix follows the usual ITU-style weights: front left and right 1.0 to their
// side, centre channels 0.707 to both sides, surround, side and rear channels 0.707 to
// their side, the low-frequency channel dropped, channels without a position 0.707 to
// both. Each output's weights are then divided by their sum when it exceeds 1, so a full
// scale signal on every channel at once cannot clip. A mono output is the mean of the two
// stereo outputs.
class ChannelMixer {
  public:
    // Positions use libsndfile's SF_CHANNEL_MAP_* values, one per input channel; an empty
    // or wrong-sized map means the customary order for that count (vorbisOrder: the order
    // of Ogg Vorbis and Opus, centre second).
    static ChannelMixer downmix(int inputs, std::vector<int> positions, bool vorbisOrder,
                                int outputs);
    // Two chosen input channels (zero-based) as left and right, or their mean for mono.
    static ChannelMixer pick(int inputs, int left, int right, int outputs);

    int inputs() const { return inputs_; }
    int outputs() const { return static_cast<int>(weights_.size()) / inputs_; }
    // Each output is one input taken unchanged: no new values arise, no dither is needed.
    bool isCopy() const;
    double weight(int output, int input) const { return weights_[output * inputs_ + input]; }

    // frame: `inputs` values; out: `outputs` values.
    void mix(const double* frame, double* out) const {
        const int n = outputs();
        for (int o = 0; o < n; ++o) {
            const double* w = &weights_[o * inputs_];
            double sum = 0;
            for (int i = 0; i < inputs_; ++i) {
                sum += w[i] * frame[i];
            }
            out[o] = sum;
        }
    }

  private:
    ChannelMixer(int inputs, std::vector<double> weights)
        : inputs_(inputs), weights_(std::move(weights)) {}
    static ChannelMixer fromStereo(int inputs, std::vector<double> left, std::vector<double> right,
                                   int outputs);

    int inputs_;
    std::vector<double> weights_;  // outputs rows of inputs_ weights
};

}  // namespace murmelix
