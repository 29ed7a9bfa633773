#pragma once

#include <cstdint>
#include <string>

#include "base/result.h"

namespace murmelix {

// Which recording a session's derived data was made from: its size and a hash of its bytes,
// so that words heard in sequences of a recording that has changed since are not trusted.
struct RecordingIdentity {
    uint64_t size = 0;
    std::string hash;  // FNV-1a of the bytes, 16 hex digits

    static Result of(const std::string& path, RecordingIdentity& out);

    bool operator==(const RecordingIdentity&) const = default;
};

}  // namespace murmelix
