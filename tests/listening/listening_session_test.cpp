#include <gtest/gtest.h>

#include <filesystem>

#include "listening/answer_store.h"
#include "listening/listening_session.h"
#include "listening/listening_test_file.h"
#include "support/scratch_folder.h"

namespace murmelix {
namespace {

// A listener who comes back after a crash goes on where they stopped; every answer is on disk
// the moment it is given, and nothing but answers is accepted.
TEST(ListeningSession, KeepsEachAnswerAtOnceAndResumesWhereTheListenerStopped) {
    testing::ScratchFolder scratch;
    const std::string folder = scratch.path().string();
    ListeningTest test;
    for (const char* code : {"01", "02", "03"}) {
        test.clips.push_back({code, ListeningClip::Kind::Sequence, 1, {}, "", std::nullopt, 1.0});
    }
    ASSERT_TRUE(ListeningTestFile::write(folder, test).ok());
    std::filesystem::create_directories(scratch.path() / "answers");

    ListeningSession first;
    EXPECT_TRUE(first.open(folder, "  ").failed());
    ASSERT_TRUE(first.open(folder, " Ann ").ok());
    EXPECT_EQ(first.currentPath(), folder + "/clips/01.wav");
    EXPECT_TRUE(first.answer(" ").failed());
    ASSERT_TRUE(first.answer("a river").ok());
    ASSERT_TRUE(first.answer(ListeningSession::kNothing).ok());

    ListeningSession again;  // the window was closed, or the machine went down
    ASSERT_TRUE(again.open(folder, "Ann").ok());
    ASSERT_NE(again.current(), nullptr);
    EXPECT_EQ(again.current()->code, "03");
    EXPECT_EQ(again.position(), 3);
    ASSERT_TRUE(again.answer("paper").ok());
    EXPECT_EQ(again.current(), nullptr);
    EXPECT_TRUE(again.answer("more").failed());

    std::vector<SheetRow> kept;
    std::vector<std::string> problems;
    ASSERT_TRUE(AnswerStore::read(folder, test, kept, problems).ok());
    EXPECT_EQ(kept,
              (std::vector<SheetRow>{
                  {"Ann", "01", "a river"}, {"Ann", "02", "nothing"}, {"Ann", "03", "paper"}}));
    ListeningSession other;
    ASSERT_TRUE(other.open(folder, "Bob").ok());
    EXPECT_EQ(other.position(), 1);
}

}  // namespace
}  // namespace murmelix
