// Feeds arbitrary bytes to the session file reader. Besides memory errors it checks that
// whatever was read is written back in a form that reads the same: the written text is a
// fixed point, with the same number of sequences, entries and kept lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "session/session_file_reader.h"
#include "session/session_file_writer.h"

namespace {

size_t entryCount(const murmelix::SessionFileContents& contents) {
    size_t count = 0;
    for (const auto& sequence : contents.sequences) {
        count += sequence.entries.size();
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::SessionFileReader;
    using murmelix::SessionFileWriter;
    const auto first = SessionFileReader::parse(std::span<const uint8_t>(data, size));
    if (!first.valid()) {
        return 0;
    }
    const std::string written =
        SessionFileWriter::render(first.wavFileName, first.sequences, first.keptLines);
    const auto second = SessionFileReader::parse(written);
    if (second.version != 2 || second.keptLines != first.keptLines ||
        second.sequences.size() != first.sequences.size() ||
        entryCount(second) != entryCount(first) ||
        SessionFileWriter::render(second.wavFileName, second.sequences, second.keptLines) !=
            written) {
        std::abort();
    }
    return 0;
}
