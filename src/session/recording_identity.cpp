#include "session/recording_identity.h"

#include <algorithm>
#include <vector>

#include "base/input_file.h"
#include "base/text_format.h"

namespace murmelix {

Result RecordingIdentity::of(const std::string& path, RecordingIdentity& out) {
    InputFile file;
    if (!file.open(path)) {
        return Result::failure(
            formatText("Can't read the recording '%s' (%s).", path.c_str(), file.reason().c_str()));
    }
    uint64_t hash = 0xcbf29ce484222325ull;
    std::vector<unsigned char> block(1 << 20);
    for (uint64_t at = 0; at < file.size();) {
        const size_t count =
            static_cast<size_t>(std::min<uint64_t>(block.size(), file.size() - at));
        if (!file.read(at, block.data(), count)) {
            return Result::failure(formatText("Can't read the recording '%s' (%s).", path.c_str(),
                                              file.reason().c_str()));
        }
        for (size_t i = 0; i < count; ++i) {
            hash = (hash ^ block[i]) * 0x100000001b3ull;
        }
        at += count;
    }
    out.size = file.size();
    out.hash = formatText("%016llx", static_cast<unsigned long long>(hash));
    return Result::success();
}

}  // namespace murmelix
