#include "app/command_enabling.h"

#include <gtest/gtest.h>

#include "audio/audio_document.h"
#include "session/session.h"

namespace murmelix {
namespace {

using M = TransportMode;

AudioDocument loadedDocument(bool changed) {
    AudioDocument doc;
    doc.format = {1, 1, 8000, 16000, 2, 16, 0};
    doc.data.resize(1600);
    doc.commit("/rec/words.wav");
    doc.changed = changed;
    return doc;
}

TEST(CommandEnablingTest, TransportModeDecidesTheCommands) {
    const AudioDocument doc = loadedDocument(true);
    Session session;
    SegmentControls controls;
    struct Case {
        M mode;
        // open save record play oqt pause stop effects playOqt
        bool expected[9];
        std::optional<bool> randomNumbers;
    } cases[] = {
        {M::tmIdle, {true, true, true, true, true, false, false, true, true}, true},
        {M::tmPlay, {false, false, false, false, false, true, true, false, false}, std::nullopt},
        {M::tmRandomPlay, {false, false, false, false, false, true, true, false, false}, false},
        {M::tmSessionPlay,
         {false, false, false, false, false, false, false, false, false},
         std::nullopt},
        {M::tmRecord, {false, false, false, false, false, false, true, false, false}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(c.mode));
        const CommandEnabling on = CommandEnabling::compute(c.mode, doc, controls, session);
        const bool got[9] = {on.open,  on.save, on.record,  on.play,   on.oqt,
                             on.pause, on.stop, on.effects, on.playOqt};
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(got[i], c.expected[i]) << "item " << i;
        }
        EXPECT_EQ(on.randomNumbers, c.randomNumbers);
        EXPECT_EQ(on.segments, controls.enabling(c.mode));
    }

    const AudioDocument empty;
    const CommandEnabling idleEmpty = CommandEnabling::compute(M::tmIdle, empty, controls, session);
    EXPECT_FALSE(idleEmpty.save || idleEmpty.play || idleEmpty.oqt || idleEmpty.effects);
    EXPECT_TRUE(idleEmpty.open && idleEmpty.record);
    const AudioDocument saved = loadedDocument(false);
    EXPECT_FALSE(CommandEnabling::compute(M::tmIdle, saved, controls, session).save);
    // A document in no file yet (an import as it came) can be saved all the same.
    AudioDocument inNoFile = loadedDocument(false);
    inNoFile.fileName.clear();
    EXPECT_TRUE(CommandEnabling::compute(M::tmIdle, inNoFile, controls, session).save);
    EXPECT_EQ(CommandEnabling::sessionRecordReason(M::tmIdle, inNoFile),
              CommandEnabling::kSaveRecordingFirst);
    EXPECT_EQ(CommandEnabling::sessionRecordReason(M::tmIdle, empty),
              CommandEnabling::kOpenRecordingFirst);
    EXPECT_EQ(CommandEnabling::sessionRecordReason(M::tmIdle, saved), "");
}

TEST(CommandEnablingTest, SessionPanelFollowsItsTable) {
    const AudioDocument doc = loadedDocument(false);
    Session session;
    for (int i = 0; i < 3; ++i) {
        session.appendSequence(SEQUENCE{});
    }
    session.previous();  // the second of three is current
    session.changed = true;
    session.sessionFileName = "/rec/s.oqt";
    using S = SessionControlsEnabling;
    struct Case {
        const char* name;
        M mode;
        S expected;  // open new save record play stop prev next file date texts labels
    } cases[] = {
        {"idle",
         M::tmIdle,
         {true, true, true, true, true, false, true, true, true, true, true, true}},
        {"session play",
         M::tmSessionPlay,
         {false, false, false, false, false, true, false, false, false, false, false, true}},
        {"generating", M::tmRandomPlay, {}},
        {"file play", M::tmPlay, {}},
        {"recording", M::tmRecord, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CommandEnabling::sessionControls(c.mode, doc, session), c.expected);
    }

    Session none;
    const S empty = CommandEnabling::sessionControls(M::tmIdle, AudioDocument{}, none);
    EXPECT_EQ(empty, (S{true, false, false, false, false, false, false, false, false, false, false,
                        false}));
    EXPECT_FALSE(CommandEnabling::sessionControls(M::tmSessionPlay, doc, none).cueLabels);
}

}  // namespace
}  // namespace murmelix
