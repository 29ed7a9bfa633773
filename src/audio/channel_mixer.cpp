#include "audio/channel_mixer.h"

#include <sndfile.h>

#include <numeric>
#include <utility>

namespace murmelix {

namespace {

constexpr double kSide = 0.7071067811865476;  // -3 dB

enum Side { kLeft, kRight, kBoth, kNone };

struct Weight {
    Side side;
    double value;
};

Weight weightOf(int position) {
    switch (position) {
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT:
            return {kLeft, 1.0};
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT:
            return {kRight, 1.0};
        case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
        case SF_CHANNEL_MAP_REAR_LEFT:
        case SF_CHANNEL_MAP_SIDE_LEFT:
        case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
        case SF_CHANNEL_MAP_TOP_REAR_LEFT:
            return {kLeft, kSide};
        case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
        case SF_CHANNEL_MAP_REAR_RIGHT:
        case SF_CHANNEL_MAP_SIDE_RIGHT:
        case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
        case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
            return {kRight, kSide};
        case SF_CHANNEL_MAP_LFE:
            return {kNone, 0.0};
        default:
            return {kBoth, kSide};
    }
}

// The customary positions when a file names none: WAV, FLAC and most containers put the
// centre third and the low-frequency channel fourth; Vorbis puts the centre second and the
// low-frequency channel last.
std::vector<int> customaryPositions(int count, bool vorbisOrder) {
    enum : int {
        L = SF_CHANNEL_MAP_FRONT_LEFT,
        R = SF_CHANNEL_MAP_FRONT_RIGHT,
        C = SF_CHANNEL_MAP_FRONT_CENTER,
        LFE = SF_CHANNEL_MAP_LFE,
        BL = SF_CHANNEL_MAP_REAR_LEFT,
        BR = SF_CHANNEL_MAP_REAR_RIGHT,
        BC = SF_CHANNEL_MAP_REAR_CENTER,
        SL = SF_CHANNEL_MAP_SIDE_LEFT,
        SR = SF_CHANNEL_MAP_SIDE_RIGHT,
    };
    static const std::vector<int> usual[] = {
        {},
        {C},
        {L, R},
        {L, R, C},
        {L, R, BL, BR},
        {L, R, C, BL, BR},
        {L, R, C, LFE, BL, BR},
        {L, R, C, LFE, BC, SL, SR},
        {L, R, C, LFE, BL, BR, SL, SR},
    };
    static const std::vector<int> vorbis[] = {
        {},
        {C},
        {L, R},
        {L, C, R},
        {L, R, BL, BR},
        {L, C, R, BL, BR},
        {L, C, R, BL, BR, LFE},
        {L, C, R, SL, SR, BC, LFE},
        {L, C, R, SL, SR, BL, BR, LFE},
    };
    if (count < 0 || count > 8) {
        return std::vector<int>(static_cast<size_t>(count > 0 ? count : 0), 0);
    }
    return vorbisOrder ? vorbis[count] : usual[count];
}

void normalise(std::vector<double>& row) {
    const double sum = std::accumulate(row.begin(), row.end(), 0.0);
    if (sum > 1.0) {
        for (double& w : row) {
            w /= sum;
        }
    }
}

}  // namespace

ChannelMixer ChannelMixer::downmix(int inputs, std::vector<int> positions, bool vorbisOrder,
                                   int outputs) {
    if (inputs == 1) {
        return ChannelMixer(1, std::vector<double>(static_cast<size_t>(outputs), 1.0));
    }
    if (inputs == 2) {
        return pick(2, 0, 1, outputs);
    }
    if (positions.size() != static_cast<size_t>(inputs)) {
        positions = customaryPositions(inputs, vorbisOrder);
    }
    std::vector<double> left(static_cast<size_t>(inputs), 0.0);
    std::vector<double> right(static_cast<size_t>(inputs), 0.0);
    for (int i = 0; i < inputs; ++i) {
        const Weight w = weightOf(positions[static_cast<size_t>(i)]);
        if (w.side == kLeft || w.side == kBoth) {
            left[static_cast<size_t>(i)] = w.value;
        }
        if (w.side == kRight || w.side == kBoth) {
            right[static_cast<size_t>(i)] = w.value;
        }
    }
    normalise(left);
    normalise(right);
    return fromStereo(inputs, std::move(left), std::move(right), outputs);
}

ChannelMixer ChannelMixer::pick(int inputs, int left, int right, int outputs) {
    std::vector<double> l(static_cast<size_t>(inputs), 0.0);
    std::vector<double> r(static_cast<size_t>(inputs), 0.0);
    l[static_cast<size_t>(left)] = 1.0;
    r[static_cast<size_t>(right)] = 1.0;
    return fromStereo(inputs, std::move(l), std::move(r), outputs);
}

ChannelMixer ChannelMixer::fromStereo(int inputs, std::vector<double> left,
                                      std::vector<double> right, int outputs) {
    if (outputs == 2) {
        left.insert(left.end(), right.begin(), right.end());
        return ChannelMixer(inputs, std::move(left));
    }
    // The same channel picked twice stays that channel, unchanged.
    if (left == right) {
        return ChannelMixer(inputs, std::move(left));
    }
    std::vector<double> mono(static_cast<size_t>(inputs));
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = (left[i] + right[i]) / 2;
    }
    normalise(mono);
    return ChannelMixer(inputs, std::move(mono));
}

bool ChannelMixer::isCopy() const {
    for (int o = 0; o < outputs(); ++o) {
        int ones = 0;
        for (int i = 0; i < inputs_; ++i) {
            const double w = weight(o, i);
            if (w == 1.0) {
                ++ones;
            } else if (w != 0.0) {
                return false;
            }
        }
        if (ones != 1) {
            return false;
        }
    }
    return true;
}

}  // namespace murmelix
