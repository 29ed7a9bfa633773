// Feeds arbitrary bytes to the reader of a listening test's key: nothing may crash, a key it
// takes is one it writes back the same, and a key it refuses leaves nothing behind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "listening/listening_test_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::ListeningTest;
    using murmelix::ListeningTestFile;
    const std::string text(reinterpret_cast<const char*>(data), size);
    ListeningTest read;
    if (!ListeningTestFile::parse(text, "key.json", read).ok()) {
        if (!(read == ListeningTest{})) {
            std::abort();
        }
        return 0;
    }
    ListeningTest again;
    if (!ListeningTestFile::parse(ListeningTestFile::text(read), "key.json", again).ok() ||
        !(again == read)) {
        std::abort();
    }
    return 0;
}
