#include "audio/riff_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/wav_bytes.h"
#include "base/span_byte_source.h"

namespace murmelix {
namespace {

namespace wav = testing::wav;
using Find = RiffReader::Find;

struct FindCase {
    const char* name;
    std::string file;
    Find mode;
    uint32_t id;
    int expectedError;
    size_t expectedOffset;  // data offset of the found chunk
    size_t expectedSize;    // its size after cutting to the parent
    uint32_t expectedListType;
};

// One descent below the RIFF chunk of each file.
TEST(RiffReaderTest, FindsChunksForwardWithinTheParentOnly) {
    const std::vector<FindCase> cases = {
        {"first chunk", wav::riff(wav::chunk("abcd", "12")), Find::Chunk, fourCC("abcd"), 0, 20, 2,
         0},
        {"skips other chunks", wav::riff(wav::chunk("xxxx", "123") + wav::chunk("abcd", "1")),
         Find::Chunk, fourCC("abcd"), 0, 32, 1, 0},
        {"pad byte after odd size is skipped",
         wav::riff(wav::chunk("xxxx", "1") + wav::chunk("abcd", "22")), Find::Chunk, fourCC("abcd"),
         0, 30, 2, 0},
        {"missing pad byte misaligns the next header",
         wav::riff(wav::rawChunk("xxxx", 1, "1") + wav::chunk("abcd", "22")), Find::Chunk,
         fourCC("abcd"), RiffReader::kChunkNotFound, 0, 0, 0},
        {"not there", wav::riff(wav::chunk("xxxx", "12")), Find::Chunk, fourCC("abcd"),
         RiffReader::kChunkNotFound, 0, 0, 0},
        {"size past the end is cut to the parent",
         wav::riff(wav::rawChunk("abcd", 0xFFFFFFF0u, "1234")), Find::Chunk, fourCC("abcd"), 0, 20,
         4, 0},
        {"a skipped size past the end ends the search",
         wav::riff(wav::rawChunk("xxxx", 0xFFFFFFFFu, "") + wav::chunk("abcd", "")), Find::Chunk,
         fourCC("abcd"), RiffReader::kChunkNotFound, 0, 0, 0},
        {"chunk beyond the declared RIFF size",
         wav::rawChunk("RIFF", 4 + 10, "WAVE" + wav::chunk("xxxx", "12") + wav::chunk("abcd", "")),
         Find::Chunk, fourCC("abcd"), RiffReader::kChunkNotFound, 0, 0, 0},
        {"header cut off by the file end", wav::riff("abcd"), Find::Chunk, fourCC("abcd"),
         RiffReader::kChunkNotFound, 0, 0, 0},
        {"list of any type", wav::riff(wav::chunk("xxxx", "") + wav::list("INFO", "")), Find::List,
         0, 0, 28, 4, fourCC("INFO")},
        {"list without room for its type", wav::riff(wav::chunk("LIST", "ab")), Find::List, 0, 0,
         20, 2, 0},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        SpanByteSource source(wav::span(c.file));
        RiffReader riff(source);
        RiffChunk form;
        ASSERT_EQ(riff.descend(form, nullptr, Find::Riff), 0);
        const size_t before = riff.position();
        RiffChunk found;
        EXPECT_EQ(riff.descend(found, &form, c.mode, c.id), c.expectedError);
        if (c.expectedError != 0) {
            EXPECT_EQ(riff.position(), before) << "a failed search must not move";
            continue;
        }
        EXPECT_EQ(found.dataOffset, c.expectedOffset);
        EXPECT_EQ(found.size, c.expectedSize);
        EXPECT_EQ(found.listType, c.expectedListType);
    }
}

TEST(RiffReaderTest, AChunkBeforeTheLastFoundIsNotFound) {
    const std::string file =
        wav::riff(wav::chunk("aaaa", "1") + wav::chunk("bbbb", "22") + wav::chunk("cccc", ""));
    SpanByteSource source(wav::span(file));
    RiffReader riff(source);
    RiffChunk form;
    RiffChunk b;
    RiffChunk other;
    ASSERT_EQ(riff.descend(form, nullptr, Find::Riff), 0);
    ASSERT_EQ(riff.descend(b, &form, Find::Chunk, fourCC("bbbb")), 0);
    ASSERT_EQ(riff.ascend(b), 0);
    EXPECT_EQ(riff.descend(other, &form, Find::Chunk, fourCC("aaaa")), RiffReader::kChunkNotFound);
    EXPECT_EQ(riff.descend(other, &form, Find::Chunk, fourCC("cccc")), 0);
}

TEST(RiffReaderTest, FindsRiffAfterLeadingChunksAndNothingInGarbage) {
    const std::string leading = wav::chunk("junk", "123") + wav::riff("");
    const std::vector<std::pair<std::string, int>> cases = {
        {leading, 0},
        {"", RiffReader::kChunkNotFound},
        {"RIF", RiffReader::kChunkNotFound},
        {"this is not a wave file at all", RiffReader::kChunkNotFound},
    };
    for (const auto& [file, error] : cases) {
        SCOPED_TRACE(file);
        SpanByteSource source(wav::span(file));
        RiffReader riff(source);
        RiffChunk form;
        EXPECT_EQ(riff.descend(form, nullptr, Find::Riff), error);
    }
}

TEST(RiffReaderTest, AscendStepsOverPadByteAndRefusesTruncatedChunks) {
    struct Case {
        const char* name;
        std::string body;
        int expectedError;
        size_t expectedPosition;
    };
    const std::vector<Case> cases = {
        {"even", wav::chunk("abcd", "12") + "tail", 0, 22},
        {"odd with pad", wav::chunk("abcd", "1") + "tail", 0, 22},
        {"odd without pad at the end of the parent", wav::rawChunk("abcd", 1, "1"), 0, 21},
        {"declared past the parent", wav::rawChunk("abcd", 100, "1234"), RiffReader::kCannotSeek,
         24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = wav::riff(c.body);
        SpanByteSource source(wav::span(file));
        RiffReader riff(source);
        RiffChunk form;
        RiffChunk chunk;
        ASSERT_EQ(riff.descend(form, nullptr, Find::Riff), 0);
        ASSERT_EQ(riff.descend(chunk, &form, Find::Chunk, fourCC("abcd")), 0);
        EXPECT_EQ(riff.ascend(chunk), c.expectedError);
        EXPECT_EQ(riff.position(), c.expectedPosition);
    }
}

TEST(RiffReaderTest, ReadStopsAtTheChunkEnd) {
    const std::string file = wav::riff(wav::chunk("abcd", "123") + wav::chunk("next", "xyz"));
    SpanByteSource source(wav::span(file));
    RiffReader riff(source);
    RiffChunk form;
    RiffChunk chunk;
    ASSERT_EQ(riff.descend(form, nullptr, Find::Riff), 0);
    ASSERT_EQ(riff.descend(chunk, &form, Find::Chunk, fourCC("abcd")), 0);
    char out[8] = {};
    EXPECT_EQ(riff.read(chunk, out, sizeof out), 3u);
    EXPECT_EQ(std::string(out), "123");
    EXPECT_EQ(riff.read(chunk, out, sizeof out), 0u);
}

}  // namespace
}  // namespace murmelix
