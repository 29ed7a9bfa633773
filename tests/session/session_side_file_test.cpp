#include <gtest/gtest.h>

#include "session/session_side_file.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

SessionSideData sample() {
    SessionSideData data;
    data.recording = {1234, "00ff00ff00ff00ff"};
    data.sequences.push_back(
        {"2024 03 05 14 07 09", 3,
         std::vector<MachineWord>{{"river", 0.5, 0.25, 0.75}, {"caf\xc3\xa9", 1.0, 1.0, 1.5}}});
    data.sequences.push_back({"2024 03 05 14 08 00", 0, std::nullopt});
    return data;
}

TEST(SessionSideFile, KeepsWhatItWasGivenAndNamesDamage) {
    SessionSideData back;
    ASSERT_TRUE(SessionSideFile::parse(SessionSideFile::text(sample()), "s.json", back).ok());
    EXPECT_EQ(back, sample());
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"{", "is damaged"},
        {"{\"murmelix_session_data\": 2}", "newer Murmelix"},
        {"{\"murmelix_session_data\": 1, \"recording\": {\"size\": 1}}", "is damaged"},
        {"[1, 2]", "is damaged"},
    };
    for (const auto& [text, message] : damaged) {
        SCOPED_TRACE(text);
        const Result result = SessionSideFile::parse(text, "s.json", back);
        EXPECT_TRUE(result.failed());
        EXPECT_NE(result.message().find("'s.json'"), std::string::npos) << result.message();
        EXPECT_NE(result.message().find(message), std::string::npos) << result.message();
        EXPECT_EQ(back, SessionSideData{});
    }
    // Written and read back; no file at all is no error.
    testing::ScratchFolder folder;
    const std::string path = folder.file("s.oqt.json");
    bool present = true;
    ASSERT_TRUE(SessionSideFile::read(path, back, present).ok());
    EXPECT_FALSE(present);
    ASSERT_TRUE(SessionSideFile::write(path, sample()).ok());
    ASSERT_TRUE(SessionSideFile::read(path, back, present).ok());
    EXPECT_TRUE(present);
    EXPECT_EQ(back, sample());
}

// Kept words go only to the sequence they were heard in: same place, date and entries.
TEST(SessionSideFile, WordsGoOnlyToTheirOwnSequence) {
    std::list<SEQUENCE> session;
    SEQUENCE first;
    first.dateTime = "2024 03 05 14 07 09";
    first.entries.resize(3);
    SEQUENCE second;
    second.dateTime = "2024 03 05 14 08 00";
    session = {first, second, second};
    size_t stale = 0;
    auto matched = SessionSideFile::matched(session, sample(), stale);
    ASSERT_EQ(matched.size(), 3u);
    EXPECT_TRUE(matched[0].machineWords.has_value());
    EXPECT_FALSE(matched[1].machineWords.has_value());
    EXPECT_FALSE(matched[2].machineWords.has_value());
    EXPECT_EQ(stale, 0u);
    session.front().entries.resize(4);  // edited by another program
    matched = SessionSideFile::matched(session, sample(), stale);
    EXPECT_FALSE(matched[0].machineWords.has_value());
    EXPECT_EQ(stale, 1u);
}

}  // namespace
}  // namespace murmelix
