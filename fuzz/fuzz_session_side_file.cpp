// Feeds arbitrary bytes to the reader of the data kept beside a session file: nothing may
// crash, a file it takes is one it writes back the same, and a file it refuses leaves
// nothing behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "session/session_side_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::SessionSideData;
    using murmelix::SessionSideFile;
    const std::string text(reinterpret_cast<const char*>(data), size);
    SessionSideData read;
    if (!SessionSideFile::parse(text, "fuzz.json", read).ok()) {
        if (!(read == SessionSideData{})) {
            std::abort();
        }
        return 0;
    }
    SessionSideData again;
    if (!SessionSideFile::parse(SessionSideFile::text(read), "fuzz.json", again).ok() ||
        !(again == read)) {
        std::abort();
    }
    return 0;
}
