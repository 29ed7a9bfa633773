// Feeds arbitrary bytes to the answer sheet reader: nothing may crash, every row it takes
// names a clip of the test and holds an answer, and the rows it takes, written as the answers
// folder writes them, read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "listening/answer_sheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using murmelix::AnswerSheet;
    using murmelix::ListeningClip;
    using murmelix::ListeningTest;
    ListeningTest test;
    for (const char* code : {"01", "02", "10"}) {
        ListeningClip clip;
        clip.code = code;
        test.clips.push_back(clip);
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    const AnswerSheet::Parsed parsed = AnswerSheet::parse(text, test, "fuzz");
    for (const auto& row : parsed.rows) {
        if (test.clip(row.clip) == nullptr || row.answer.empty() || row.listener.empty()) {
            std::abort();
        }
    }
    const AnswerSheet::Parsed again = AnswerSheet::parse(AnswerSheet::text(parsed.rows), test, "x");
    if (!(again.rows == parsed.rows) || !again.problems.empty()) {
        std::abort();
    }
    return 0;
}
