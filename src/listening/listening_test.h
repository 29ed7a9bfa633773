#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "listening/listening_clip.h"

namespace murmelix {

// A listening test as its key keeps it: where its clips come from, the seed that shuffled them
// and made the controls, and the clips in the order listeners hear them.
struct ListeningTest {
    uint64_t seed = 0;
    std::string sessionFile;
    std::string recording;
    std::string created;  // ISO 8601
    std::vector<ListeningClip> clips;

    const ListeningClip* clip(const std::string& code) const {
        for (const ListeningClip& c : clips) {
            if (c.code == code) {
                return &c;
            }
        }
        return nullptr;
    }

    bool operator==(const ListeningTest&) const = default;
};

}  // namespace murmelix
