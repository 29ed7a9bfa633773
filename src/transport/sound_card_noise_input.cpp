#include "transport/sound_card_noise_input.h"

#include <bit>
#include <utility>

#include "device/device_error.h"

namespace murmelix {

SoundCardNoiseInput::~SoundCardNoiseInput() {
    finish();
}

std::string SoundCardNoiseInput::queryFormat(int device, const WaveFormat& format) {
    const int code = device_.open(device, format, true);
    return code == DeviceError::kNone ? std::string() : device_.errorText(code);
}

std::string SoundCardNoiseInput::start(int device, const WaveFormat& format,
                                       std::span<int16_t> buffer) {
    finish();
    int code = device_.open(device, format, false);
    if (code != DeviceError::kNone) {
        return device_.errorText(code);
    }
    header_ = WaveBuffer{};
    header_.recordData = reinterpret_cast<uint8_t*>(buffer.data());
    header_.length = static_cast<uint32_t>(buffer.size_bytes());
    buffer_ = buffer;
    code = device_.addBuffer(&header_);
    if (code != DeviceError::kNone) {
        return abandon(code);
    }
    code = device_.start();
    if (code != DeviceError::kNone) {
        return abandon(code);
    }
    active_ = true;
    return {};
}

NoiseInput::Recorded SoundCardNoiseInput::wait(std::chrono::milliseconds timeLimit) {
    if (!active_) {
        return {0, true};
    }
    std::chrono::milliseconds waited{0};
    while (!collect()) {
        if (waited >= timeLimit) {
            device_.reset();
            collect();
            return {samplesArrived(), true};
        }
        device_.waitDone(kPollStep);
        waited += kPollStep;
    }
    return {samplesArrived(), false};
}

void SoundCardNoiseInput::finish() {
    if (!active_) {
        return;
    }
    device_.reset();
    device_.close();
    collect();
    active_ = false;
}

bool SoundCardNoiseInput::collect() {
    returned_.clear();
    device_.pollDone(returned_);
    return header_.done;
}

std::string SoundCardNoiseInput::abandon(int code) {
    std::string text = device_.errorText(code);
    device_.reset();
    device_.close();
    collect();
    return text;
}

int32_t SoundCardNoiseInput::samplesArrived() const {
    const auto count = static_cast<int32_t>(header_.bytesRecorded / 2);
    if constexpr (std::endian::native == std::endian::big) {
        // The device wrote little-endian samples.
        for (int16_t& sample : buffer_.first(static_cast<size_t>(count))) {
            const auto bits = static_cast<uint16_t>(sample);
            sample = static_cast<int16_t>(static_cast<uint16_t>((bits >> 8) | (bits << 8)));
        }
    }
    return count;
}

}  // namespace murmelix
