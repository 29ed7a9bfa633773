#include "session/session.h"

#include <gtest/gtest.h>

namespace murmelix {
namespace {

SEQUENCE named(const char* date) {
    return SEQUENCE{date, "", "", {}};
}

// Current position as (index, date of the current sequence), "" for none.
std::pair<int32_t, std::string> where(const Session& session) {
    const SEQUENCE* current = session.current();
    return {session.currentIndex(), current != nullptr ? current->dateTime : ""};
}

TEST(Session, EmptySessionHasNoSequenceAndIndexZero) {
    Session session;
    EXPECT_EQ(session.count(), 0);
    EXPECT_EQ(session.currentIndex(), 0);
    EXPECT_EQ(session.first(), nullptr);
    EXPECT_EQ(session.last(), nullptr);
    EXPECT_EQ(session.current(), nullptr);
    EXPECT_EQ(session.entryTail(), nullptr);
    EXPECT_FALSE(session.previous());
    EXPECT_FALSE(session.next());
    EXPECT_FALSE(session.appendEntry({}));
    session.removeLastSequence();
    EXPECT_EQ(where(session), (std::pair<int32_t, std::string>{0, ""}));
}

TEST(Session, NavigationKeepsIndexAndCurrentTogether) {
    Session session;
    session.appendSequence(named("a"));
    session.appendSequence(named("b"));
    session.appendSequence(named("c"));
    ASSERT_EQ(where(session), (std::pair<int32_t, std::string>{2, "c"}));

    struct Step {
        const char* move;
        bool moved;
        int32_t index;
        const char* current;
    };
    const Step steps[] = {
        {"next", false, 2, "c"},     {"previous", true, 1, "b"}, {"previous", true, 0, "a"},
        {"previous", false, 0, "a"}, {"next", true, 1, "b"},     {"remove", true, 1, "b"},
        {"next", false, 1, "b"},     {"remove", true, 0, "a"},   {"remove", true, 0, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.move);
        const std::string move = step.move;
        bool moved = true;
        if (move == "next") {
            moved = session.next();
        } else if (move == "previous") {
            moved = session.previous();
        } else {
            session.removeLastSequence();
        }
        EXPECT_EQ(moved, step.moved);
        EXPECT_EQ(where(session), (std::pair<int32_t, std::string>{step.index, step.current}));
        EXPECT_EQ(session.count(), static_cast<int32_t>(session.sequences().size()));
    }
}

TEST(Session, EntriesGoToTheLastSequenceAfterTheTail) {
    Session session;
    session.appendSequence(named("a"));
    session.appendSequence(named("b"));
    session.previous();
    EXPECT_EQ(session.entryTail(), nullptr);
    ASSERT_TRUE(session.appendEntry({1, 2, 1, 0, "", false}));
    ASSERT_TRUE(session.appendEntry({3, 4, 2, 1, "x", false}));
    EXPECT_TRUE(session.first()->entries.empty());
    ASSERT_EQ(session.last()->entries.size(), 2u);
    ASSERT_NE(session.entryTail(), nullptr);
    EXPECT_EQ(session.entryTail()->number, 2);
}

TEST(Session, AssignAndClearResetThePosition) {
    Session session;
    session.appendSequence(named("old"));
    session.assignSequences({named("x"), named("y")});
    EXPECT_EQ(where(session), (std::pair<int32_t, std::string>{0, "x"}));
    EXPECT_EQ(session.currentPosition(), session.sequences().begin());
    EXPECT_EQ(session.last()->dateTime, "y");
    session.clearSequences();
    EXPECT_EQ(session.count(), 0);
    EXPECT_EQ(session.current(), nullptr);
    EXPECT_EQ(session.currentPosition(), session.sequences().end());
}

}  // namespace
}  // namespace murmelix
