#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/text_format.h"
#include "random/random_source.h"
#include "random/source_harness.h"

namespace murmelix {
namespace {

using testing::alternatingSamples;
using testing::rawSamples;
using testing::ScratchFolder;
using testing::SourceHarness;
using testing::writeBytes;

const char* const kEndOfFile =
    "End of random source file. Playback has been stopped.\n\nTip: To enable automatic restart, "
    "check 'Extras > Random source > Loop file'.";

std::vector<int16_t> ramp(size_t count, int offset = 0) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<int16_t>(static_cast<int>(i) + offset);
    }
    return samples;
}

std::vector<std::string> texts(const std::vector<int16_t>& samples) {
    std::vector<std::string> out;
    for (const int16_t sample : samples) {
        out.push_back(std::to_string(sample));
    }
    return out;
}

void selectFile(SourceHarness& h, const std::string& path, bool loop, bool absolute) {
    h.source.setLoopFile(loop);
    h.source.setUseAbsolute(absolute);
    h.source.SelectRandomSource(2, path, false);
}

TEST(FileSource, FailureTable) {
    struct Case {
        const char* name;
        std::optional<std::string> bytes;  // no file at all when empty
        bool loop;
        int draws;
        std::vector<int32_t> numbers;  // bound 10, comparison mode
        std::vector<std::string> logged;
        const char* caption;
        const char* message;  // %s: the full path
        MessageIcon icon;
        int64_t filePosition;
        bool relative = false;  // named relative to the current folder
    };
    const Case cases[] = {
        {"missing file",
         std::nullopt,
         true,
         2,
         {0, 0},
         {},
         "Error",
         "Can't open random source file '%s'.",
         MessageIcon::Error,
         0},
        {"missing file named relative to the current folder",
         std::nullopt,
         true,
         1,
         {0},
         {},
         "Error",
         "Can't open random source file '%s'.",
         MessageIcon::Error,
         0,
         true},
        {"empty file",
         std::string(),
         true,
         2,
         {0, 0},
         {},
         "Error",
         "Can't read random source file '%s'.",
         MessageIcon::Error,
         0},
        {"63 bytes: 31 samples",
         rawSamples(ramp(31)) + std::string(1, '\x01'),
         true,
         1,
         {0},
         {},
         "Error",
         "Can't read random source file '%s'.",
         MessageIcon::Error,
         0},
        {"100 samples without loop: 3 numbers, then the end",
         rawSamples(alternatingSamples(100)),
         false,
         5,
         {5, 1, 1, 0, 0},
         {"1431655765", "357913941", "357913941"},
         "Info",
         kEndOfFile,
         MessageIcon::Information,
         200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("noise.pcm");
        if (c.bytes) {
            writeBytes(path, *c.bytes);
        }
        SourceHarness h;
        const std::filesystem::path started = std::filesystem::current_path();
        if (c.relative) {
            std::filesystem::current_path(folder.path());
        }
        selectFile(h, c.relative ? "./noise.pcm" : path, c.loop, false);
        std::filesystem::current_path(started);
        EXPECT_EQ(h.source.fileName(), path) << "kept as a full path";
        EXPECT_EQ(h.draw(c.draws, 10), c.numbers);
        EXPECT_EQ(h.logged, c.logged);
        ASSERT_EQ(h.ui.messages.size(), 1u) << "one message, then halted";
        EXPECT_EQ(h.ui.messages[0].caption, c.caption);
        EXPECT_EQ(h.ui.messages[0].text, formatText(c.message, path.c_str()));
        EXPECT_EQ(h.ui.messages[0].icon, c.icon);
        EXPECT_EQ(h.ui.messages[0].buttons, MessageButtons::Ok);
        EXPECT_TRUE(h.source.halted());
        EXPECT_EQ(h.source.filePosition(), c.filePosition);
    }
}

// A FIFO once made the first draw wait forever for a writer; a device is an endless source.
TEST(FileSource, FifosAreRefusedAndDevicesReadWithoutEnd) {
    ScratchFolder folder;
    const std::string fifo = folder.file("noise.pcm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::string path;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {fifo,
         {"Can't open random source file '" + fifo +
          "'.\nIt is neither a regular file nor a device."}},
        {"/dev/zero", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SourceHarness h;
        selectFile(h, c.path, false, false);
        EXPECT_EQ(h.draw(3, 10), (std::vector<int32_t>{0, 0, 0}));
        EXPECT_EQ(h.ui.texts(), c.messages);
        EXPECT_EQ(h.source.halted(), !c.messages.empty());
    }
}

TEST(FileSource, WhichSamplesAreUsed) {
    struct Case {
        const char* name;
        std::string bytes;
        bool absolute;
        int draws;
        std::vector<std::string> logged;  // only the draws listed here are compared
        std::vector<size_t> at;           // ... at these draw indexes; empty: all, in order
        int64_t filePosition;
    };
    std::vector<std::string> rampThenStart = texts(ramp(96));
    rampThenStart.push_back("0");
    std::vector<std::string> oddThenStart = texts(ramp(32, -16));
    oddThenStart.push_back("-16");
    const std::vector<int16_t> large = ramp(10240 + 40, -5000);
    const Case cases[] = {
        {"64 bytes with loop: the same 32 samples every draw",
         rawSamples(alternatingSamples(32)),
         false,
         3,
         {"1431655765", "357913941", "357913941"},
         {},
         64},
        {"100 samples with loop: the 4 beyond the last group never used",
         rawSamples(ramp(100)),
         true,
         97,
         rampThenStart,
         {},
         200},
        {"odd last byte ignored",
         rawSamples(ramp(32, -16)) + std::string(1, '\x7F'),
         true,
         33,
         oddThenStart,
         {},
         65},
        {"second block cut to its groups, then back to the start",
         rawSamples(large),
         true,
         10240 + 33,
         {"-5000", "5239", "5240", "5271", "-5000"},
         {0, 10239, 10240, 10271, 10272},
         0 + 20480},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("noise.pcm");
        writeBytes(path, c.bytes);
        SourceHarness h;
        selectFile(h, path, true, c.absolute);
        h.draw(c.draws, 10);
        EXPECT_TRUE(h.ui.messages.empty());
        if (c.at.empty()) {
            EXPECT_EQ(h.logged, c.logged);
        } else {
            ASSERT_EQ(h.logged.size(), static_cast<size_t>(c.draws));
            for (size_t i = 0; i < c.at.size(); ++i) {
                EXPECT_EQ(h.logged[c.at[i]], c.logged[i]) << "draw " << c.at[i];
            }
        }
        EXPECT_EQ(h.source.filePosition(), c.filePosition);
    }
}

TEST(FileSource, AbsoluteScaling) {
    struct Case {
        const char* name;
        std::vector<int16_t> samples;  // padded with the first sample to 32
        int32_t bound;
        std::vector<int32_t> numbers;
    };
    const Case cases[] = {
        {"minimum 0, maximum bound - 1", {-100, 100, 0, 50, -99, 99}, 10, {0, 9, 5, 7, 0, 9}},
        {"full range", {-32768, 32767, 0, -1}, 10, {0, 9, 5, 4}},
        {"all samples equal", {7, 7, 7}, 10, {0, 0, 0}},
        {"bound 1", {-100, 100, 0}, 1, {0, 0, 0}},
        {"large bound", {0, 1, 2, 3}, 2147483647, {0, 715827882, 1431655764, 2147483646}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        std::vector<int16_t> samples = c.samples;
        samples.resize(32, c.samples[0]);
        const std::string path = folder.file("noise.pcm");
        writeBytes(path, rawSamples(samples));
        SourceHarness h;
        selectFile(h, path, true, true);
        EXPECT_EQ(h.draw(static_cast<int>(c.numbers.size()), c.bound), c.numbers);
        EXPECT_EQ(h.logged, texts(std::vector<int16_t>(c.samples.begin(),
                                                       c.samples.begin() + c.numbers.size())));
    }
}

TEST(FileSource, ComparisonAfterAbsoluteDrawsStaysWithinTheFill) {
    ScratchFolder folder;
    const std::string path = folder.file("noise.pcm");
    writeBytes(path, rawSamples(ramp(64, 1)));
    SourceHarness h;
    selectFile(h, path, true, true);
    h.draw(33, 10);  // leaves 31 samples: too few for a comparison draw
    ASSERT_EQ(h.source.noise().remaining(), 31);
    h.source.setUseAbsolute(false);
    h.draw(1, 10);
    // A fresh fill from the start of the file: samples 1, 2, ... 31 each rise.
    EXPECT_EQ(h.logged.back(), "2147483647");
    EXPECT_EQ(h.source.noise().readPosition(), 32);
    EXPECT_EQ(h.source.noise().fillCount(), 64);
    EXPECT_EQ(h.source.previousSample(), 31);
}

TEST(FileSource, FailedRefillIsTriedAgainUnchanged) {
    ScratchFolder folder;
    const std::string path = folder.file("noise.pcm");
    writeBytes(path, rawSamples(alternatingSamples(100)));
    SourceHarness h;
    selectFile(h, path, false, false);
    h.draw(4, 10);
    ASSERT_EQ(h.ui.messages.size(), 1u);
    const int32_t previous = h.source.previousSample();

    h.source.setHalted(false);  // the next run
    EXPECT_EQ(h.source.NextRandomNumber(10), 0);
    ASSERT_EQ(h.ui.messages.size(), 2u);
    EXPECT_EQ(h.ui.messages[1].text, kEndOfFile);
    EXPECT_EQ(h.logged.size(), 3u);
    EXPECT_EQ(h.source.filePosition(), 200);
    EXPECT_EQ(h.source.previousSample(), previous);

    h.source.setLoopFile(true);
    h.source.setHalted(false);
    h.draw(1, 10);
    EXPECT_EQ(h.ui.messages.size(), 2u);
    EXPECT_EQ(h.logged.back(), "357913941") << "the file starts over";
    EXPECT_EQ(h.source.filePosition(), 200);
}

size_t openDescriptors() {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                             std::filesystem::directory_iterator()));
}

// Records, at the time of the message, whether the source file is still open.
class DescriptorCountingUi : public testing::ScriptedUserInterface {
  public:
    std::vector<size_t> descriptorsAtMessage;
    MessageResult messageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) override {
        descriptorsAtMessage.push_back(openDescriptors());
        return ScriptedUserInterface::messageBox(caption, text, icon, buttons);
    }
};

TEST(FileSource, FailureHaltsThenStopsThenClosesThenTells) {
    struct Case {
        const char* name;
        std::string bytes;
        bool loop;
        int draws;
    };
    const Case cases[] = {
        {"unreadable", rawSamples(ramp(10)), true, 1},
        {"end of file", rawSamples(ramp(64)), false, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        const std::string path = folder.file("noise.pcm");
        writeBytes(path, c.bytes);
        DescriptorCountingUi ui;
        testing::ScriptedNoiseInput input;
        testing::ListenerHarness listener;
        RandomSource source(ui, input, &listener);
        std::vector<std::string> events;
        listener.onLog = [&](std::string_view) { events.push_back("log"); };
        size_t descriptorsAtStop = 0;
        listener.onHalt = [&] {
            events.push_back(source.halted() ? "stop (halted)" : "stop (not halted)");
            EXPECT_TRUE(ui.messages.empty()) << "the stop comes before the message";
            descriptorsAtStop = openDescriptors();
        };
        source.setLoopFile(c.loop);
        source.SelectRandomSource(2, path, false);
        const size_t before = openDescriptors();
        for (int i = 0; i < c.draws; ++i) {
            source.NextRandomNumber(10);
        }
        ASSERT_EQ(events.back(), "stop (halted)");
        EXPECT_EQ(std::count(events.begin(), events.end(), "stop (halted)"), 1);
        ASSERT_EQ(ui.descriptorsAtMessage.size(), 1u);
        EXPECT_EQ(descriptorsAtStop, before + 1) << "the file is open at the stop";
        EXPECT_EQ(ui.descriptorsAtMessage[0], before) << "closed before the message";
        EXPECT_EQ(openDescriptors(), before);
    }
}

}  // namespace
}  // namespace murmelix
