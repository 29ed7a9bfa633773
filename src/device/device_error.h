#pragma once

#include <string>

namespace murmelix {

// Result codes of the sound device operations: 0 is success. The positive codes keep the
// numbers of the classic multimedia results where one fits, so that a number seen in a
// message means the same thing it always did; negative codes are PortAudio's own.
class DeviceError {
  public:
    static constexpr int kNone = 0;
    static constexpr int kUnspecified = 1;
    static constexpr int kBadDeviceId = 2;
    static constexpr int kAlreadyOpen = 4;
    static constexpr int kNotOpen = 5;
    static constexpr int kNoDevice = 6;
    static constexpr int kNoMemory = 7;
    static constexpr int kInvalidParameter = 11;
    static constexpr int kBadFormat = 32;
    static constexpr int kTooManyBuffers = 100;
    static constexpr int kStreamFailed = 101;
    static constexpr int kNotResponding = 102;

    // A sentence that names the cause, for the "Wave Out Error" and "Record In Error" boxes.
    static std::string text(int code);
};

}  // namespace murmelix
