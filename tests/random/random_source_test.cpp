#include "random/random_source.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "random/source_harness.h"

namespace murmelix {
namespace {

using testing::SourceHarness;

const std::vector<std::string> kSeedOneTexts = {"346", "13854878", "1621890440", "816282396",
                                                "1778554774"};

TEST(RandomSourcePseudo, DrawsFromSeedOne) {
    struct Case {
        int32_t bound;
        bool absolute;  // has no effect on the pseudo generator
        std::vector<int32_t> numbers;
    };
    const Case cases[] = {
        {10, false, {6, 8, 0, 6, 4}},
        {10, true, {6, 8, 0, 6, 4}},
        {1, false, {0, 0, 0, 0, 0}},
        {1000, false, {346, 878, 440, 396, 774}},
        {2147483647, false, {346, 13854878, 1621890440, 816282396, 1778554774}},
        {0, false, {0, 0, 0, 0, 0}},  // a bound below 1 counts as 1 instead of dividing by 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "bound " << c.bound);
        SourceHarness h;
        h.source.pseudoGenerator().setState(1);
        h.source.setUseAbsolute(c.absolute);
        EXPECT_EQ(h.draw(5, c.bound), c.numbers);
        EXPECT_EQ(h.logged, kSeedOneTexts);
    }
}

TEST(RandomSourceFractal, AbsoluteDraws) {
    struct Case {
        const char* name;
        long double r;
        long double x;
        int32_t bound;
        std::vector<int32_t> numbers;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"worked example", 3.8L, 0.5L, 10, {9, 1}, {"0.95", "0.1805"}},
        {"population 0 stays 0", 3.8L, 0, 10, {0, 0, 0}, {"0", "0", "0"}},
        {"population 1 falls to 0", 3.8L, 1, 10, {0, 0, 0}, {"0", "0", "0"}},
        {"exactly 1 gives bound - 1", 4, 0.5L, 10, {9, 0}, {"1", "0"}},
        {"bound 1", 3.8L, 0.5L, 1, {0, 0}, {"0.95", "0.1805"}},
        {"beyond 1 gives bound - 1, below 0 gives 0", 5, 0.5L, 10, {9, 0}, {"1.25", "-1.5625"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SourceHarness h;
        h.source.setGrowthConstant(c.r);
        h.source.setPopulation(c.x);
        h.source.setUseAbsolute(true);
        h.source.SelectRandomSource(3, "", false);
        EXPECT_EQ(h.draw(static_cast<int>(c.numbers.size()), c.bound), c.numbers);
        EXPECT_EQ(h.logged, c.texts);
    }
}

TEST(RandomSourceFractal, DivergingPopulationGivesZeroOnceNotFinite) {
    SourceHarness h;
    h.source.setGrowthConstant(5);
    h.source.setPopulation(0.5L);
    h.source.setUseAbsolute(true);
    h.source.SelectRandomSource(3, "", false);
    const auto numbers = h.draw(20, 10);
    EXPECT_EQ(numbers[0], 9);
    for (size_t i = 1; i < numbers.size(); ++i) {
        EXPECT_EQ(numbers[i], 0) << "draw " << i;
    }
    EXPECT_EQ(h.logged.back(), "-INF");
}

TEST(RandomSourceFractal, ComparisonDraws) {
    struct Case {
        const char* name;
        long double r;
        long double x;
        std::vector<int32_t> numbers;  // bound 10
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        // r = 3.2 settles on a 2-cycle at once: up, down, up, ... starting from 0; with 31
        // values a draw, the next draw begins where the last one left the cycle
        {"two-cycle", 3.2L, 0.5L, {5, 2, 5}, {"1431655765", "715827882", "1431655765"}},
        {"population 0", 3.8L, 0, {0, 0}, {"0", "0"}},
        {"population 1", 3.8L, 1, {0, 0}, {"0", "0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SourceHarness h;
        h.source.setGrowthConstant(c.r);
        h.source.setPopulation(c.x);
        h.source.SelectRandomSource(3, "", false);
        EXPECT_EQ(h.draw(static_cast<int>(c.numbers.size()), 10), c.numbers);
        EXPECT_EQ(h.logged, c.texts);
    }
}

TEST(RandomSource, HaltedDrawReturnsZeroAndChangesNothing) {
    struct Case {
        int kind;
        bool absolute;
    };
    const Case cases[] = {{0, false}, {3, true}, {3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        SourceHarness h;
        h.source.pseudoGenerator().setState(1);
        h.source.setUseAbsolute(c.absolute);
        h.source.SelectRandomSource(c.kind, "", false);
        h.source.setHalted(true);
        EXPECT_EQ(h.draw(3, 10), (std::vector<int32_t>{0, 0, 0}));
        EXPECT_TRUE(h.logged.empty());
        EXPECT_EQ(h.source.pseudoGenerator().state(), 1u);
        EXPECT_EQ(h.source.population(), static_cast<double>(0.5));
        EXPECT_TRUE(h.ui.messages.empty());
        h.source.setHalted(false);
        h.draw(1, 10);
        EXPECT_EQ(h.logged.size(), 1u);
    }
}

TEST(RandomSource, DefaultsBeforeAnySettings) {
    SourceHarness h;
    EXPECT_EQ(h.source.kind(), RandomSourceKind::Pseudo);
    EXPECT_FALSE(h.source.useAbsolute());
    EXPECT_TRUE(h.source.recordBestRate());
    EXPECT_TRUE(h.source.recordNew());
    EXPECT_TRUE(h.source.loopFile());
    EXPECT_EQ(h.source.fileItemCaption(), "F&ile...");
    EXPECT_EQ(h.source.growthConstant(), static_cast<double>(3.8));
    EXPECT_EQ(h.source.population(), static_cast<double>(0.5));
    EXPECT_EQ(h.source.previousSample(), 0);
    EXPECT_EQ(h.source.previousValue(), 0);
    EXPECT_EQ(h.source.inputDevice(), -1);
    EXPECT_LT(h.source.pseudoGenerator().state(), 1ull << 32) << "seeded from the clock";
    EXPECT_NE(h.source.pseudoGenerator().state(), 0u);
}

TEST(RandomSource, Selection) {
    struct Case {
        const char* name;
        int kind;
        std::string fileName;
        bool ask;
        std::vector<std::optional<std::string>> fileAnswers;
        std::optional<FractalFieldTexts> fractalAnswer;
        bool hasFractalDialog;
        RandomSourceKind expectedKind;
        std::string expectedFile;
        std::string expectedCaption;
        size_t dialogs;
        bool noiseDiscarded;
    };
    const Case cases[] = {
        {"pseudo",
         0,
         "",
         false,
         {},
         {},
         false,
         RandomSourceKind::Pseudo,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         0,
         false},
        {"pseudo keeps a stored file name",
         0,
         "/set/b.pcm",
         false,
         {},
         {},
         false,
         RandomSourceKind::Pseudo,
         "/set/b.pcm",
         "F&ile [b.pcm] ...",
         0,
         false},
        {"sound card",
         1,
         "",
         false,
         {},
         {},
         false,
         RandomSourceKind::SoundCard,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         0,
         true},
        {"file by name",
         2,
         "/given/c.pcm",
         false,
         {},
         {},
         false,
         RandomSourceKind::File,
         "/given/c.pcm",
         "F&ile [c.pcm] ...",
         0,
         true},
        {"file from the dialog",
         2,
         "",
         false,
         {"/picked/d.pcm"},
         {},
         false,
         RandomSourceKind::File,
         "/picked/d.pcm",
         "F&ile [d.pcm] ...",
         1,
         true},
        {"file dialog cancelled",
         2,
         "",
         false,
         {std::nullopt},
         {},
         false,
         RandomSourceKind::Fractal,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         1,
         false},
        {"fractal without asking",
         3,
         "",
         false,
         {},
         {},
         true,
         RandomSourceKind::Fractal,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         0,
         false},
        {"fractal dialog OK",
         3,
         "",
         true,
         {},
         FractalFieldTexts{"3.5", "0.25"},
         true,
         RandomSourceKind::Fractal,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         0,
         false},
        {"fractal dialog cancelled",
         3,
         "",
         true,
         {},
         std::nullopt,
         true,
         RandomSourceKind::Fractal,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         0,
         false},
        {"damaged kind",
         7,
         "",
         false,
         {},
         {},
         false,
         RandomSourceKind::Fractal,
         "/old/a.pcm",
         "F&ile [a.pcm] ...",
         0,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SourceHarness h;
        // Start from the fractal formula with a file known and a fill half used.
        h.source.SelectRandomSource(2, "/old/a.pcm", false);
        h.source.SelectRandomSource(3, "", false);
        for (const auto& answer : c.fileAnswers) {
            h.ui.fileAnswers.push_back(answer);
        }
        if (c.hasFractalDialog) {
            h.ui.fractalAnswers.push_back(c.fractalAnswer);
        }
        h.source.setHalted(true);  // keeps the draws below from refilling
        h.source.SelectRandomSource(c.kind, c.fileName, c.ask);
        EXPECT_EQ(h.source.kind(), c.expectedKind);
        EXPECT_EQ(h.source.fileName(), c.expectedFile);
        EXPECT_EQ(h.source.fileItemCaption(), c.expectedCaption);
        EXPECT_EQ(h.ui.fileDialogs.size(), c.dialogs);
        EXPECT_EQ(h.ui.fractalAsks, c.ask && c.kind == 3 ? 1 : 0);
        const bool parametersChanged = c.fractalAnswer.has_value();
        EXPECT_EQ(h.source.growthConstant(), parametersChanged ? 3.5L : static_cast<double>(3.8));
        EXPECT_EQ(h.source.population(), parametersChanged ? 0.25L : static_cast<double>(0.5));
        if (c.noiseDiscarded) {
            EXPECT_EQ(h.source.noise().fillCount(), 0);
            EXPECT_EQ(h.source.filePosition(), 0);
        }
    }
}

TEST(RandomSource, FractalFieldsThatAreNoNumbersKeepTheirValues) {
    struct Case {
        FractalFieldTexts texts;
        long double r;
        long double x;
    };
    const long double r0 = static_cast<double>(3.8);
    const long double x0 = static_cast<double>(0.5);
    const Case cases[] = {
        {{"3.9", "abc"}, 3.9L, x0},
        {{"3,9", "0.75"}, r0, 0.75L},
        {{"", ""}, r0, x0},
        {{" 4 ", "1E-3"}, 4, 0.001L},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.texts.growthConstant << " / " << c.texts.initPopulation);
        SourceHarness h;
        h.ui.fractalAnswers.push_back(c.texts);
        h.source.SelectRandomSource(3, "", true);
        EXPECT_EQ(h.source.kind(), RandomSourceKind::Fractal);
        EXPECT_EQ(h.source.growthConstant(), c.r);
        EXPECT_EQ(h.source.population(), c.x);
        EXPECT_TRUE(h.ui.messages.empty());
    }
}

TEST(RandomSource, OpenDialogRequest) {
    struct Case {
        bool separateFolders;
        std::string expectedStart;
    };
    const Case cases[] = {{true, "/noise"}, {false, ""}};
    for (const auto& c : cases) {
        SourceHarness h;
        h.source.folders().remember(Folders::Kind::RandomSource, "/noise");
        h.source.folders().setSeparate(c.separateFolders);
        h.source.SelectRandomSource(0, "/noise/last.pcm", false);
        h.ui.fileAnswers.push_back("/elsewhere/new.pcm");
        h.source.SelectRandomSource(2, "", false);
        ASSERT_EQ(h.ui.fileDialogs.size(), 1u);
        const FileDialogRequest& request = h.ui.fileDialogs[0];
        EXPECT_EQ(request.title, "Open random source file...");
        EXPECT_EQ(request.filter, "PCM Raw Data (*.pcm)|*.pcm|All Files (*.*)|*.*");
        EXPECT_EQ(request.defaultExtension, "*.pcm");
        EXPECT_TRUE(request.mustExist);
        EXPECT_EQ(request.presetName, "/noise/last.pcm");
        EXPECT_EQ(request.startFolder, c.expectedStart);
        EXPECT_EQ(h.source.folders().remembered(Folders::Kind::RandomSource), "/elsewhere/")
            << "the folder follows the choice";
        EXPECT_EQ(h.source.presetFileName(), "/elsewhere/new.pcm");
    }
}

}  // namespace
}  // namespace murmelix
