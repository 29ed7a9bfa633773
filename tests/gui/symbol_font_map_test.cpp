#include "gui/symbol_font_map.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

namespace murmelix {
namespace {

// A picture that draws something and is not a character the program cannot show.
bool isVisible(char32_t c) {
    const bool control = c < 0x21 || (c >= 0x7F && c < 0xA0);
    const bool invisible = c == 0xA0 || c == 0xAD;
    const bool privateUse = (c >= 0xE000 && c <= 0xF8FF);
    return !control && !invisible && !privateUse && c <= 0x10FFFF;
}

TEST(SymbolFontMapTest, RecognisesTheSymbolFontsByName) {
    const struct {
        const char* family;
        bool symbol;
    } cases[] = {
        {"Wingdings", true},    {"WINGDINGS", true},   {"wingdings 2", true},
        {"Wingdings 3", true},  {"Webdings", true},    {"Symbol", true},
        {"Wingdings 4", false}, {"Wingdings2", false}, {"Symbola", false},
        {"Arial", false},       {"", false},           {"Wingdings ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family);
        EXPECT_EQ(SymbolFontMap::isSymbolFont(c.family), c.symbol);
    }
}

TEST(SymbolFontMapTest, FontCharacterFollowsThePublishedMappings) {
    const struct {
        const char* family;
        int code;
        std::optional<char32_t> character;
    } cases[] = {
        {"Wingdings", 0x21, 0x1F589},  // lower left pencil
        {"Wingdings", 0x36, 0x23F3},   // hourglass with flowing sand
        {"Wingdings", 0x41, 0x270C},   // victory hand, the window's first caption "A"
        {"Wingdings", 0x48, 0x1F597},  // the down-pointing index is a left hand
        {"Wingdings", 0x4A, 0x263A},   // white smiling face
        {"Wingdings", 0x81, 0x2780},
        {"Wingdings", 0xB7, 0x1F550},  // clock face one o'clock
        {"Wingdings", 0xFC, 0x2713},
        {"Wingdings", 0x7F, 0x25AF},  // unused code, a visible stand-in
        {"Wingdings", 0xFF, 0x229E},  // the maker's logo, a visible stand-in
        {"wingdings", 0x21, 0x1F589},
        {"Wingdings 2", 0x21, 0x1F58A},
        {"Wingdings 2", 0xF9, 0x2042},
        {"Wingdings 2", 0xFA, std::nullopt},
        {"Wingdings 3", 0x21, 0x2B60},
        {"Wingdings 3", 0xF0, 0x1F897},
        {"Wingdings 3", 0xF1, std::nullopt},
        {"Webdings", 0x21, 0x1F577},  // spider
        {"Webdings", 0xFF, 0x1F54A},  // dove
        {"Webdings", 0x7F, std::nullopt},
        {"Symbol", 0x41, 0x391},  // Greek capital alpha
        {"Symbol", 0xE1, 0x2329},
        {"Symbol", 0xE6, 0x239B},  // left parenthesis upper hook, not private use
        {"Symbol", 0x80, std::nullopt},
        {"Symbol", 0xFF, std::nullopt},
        {"Arial", 0x41, 0x41},
        {"Arial", 0x80, 0x20AC},        // euro sign of Windows-1252
        {"Arial", 0x81, std::nullopt},  // unassigned in Windows-1252
        {"Wingdings", 32, std::nullopt},
        {"Wingdings", 256, std::nullopt},
        {"Arial", -1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.family << " " << c.code);
        EXPECT_EQ(SymbolFontMap::fontCharacter(c.family, c.code), c.character);
    }
}

TEST(SymbolFontMapTest, EveryWingdingsCodeHasItsOwnVisibleCodePoint) {
    std::set<char32_t> seen;
    for (int code = SymbolFontMap::kFirstCode; code <= SymbolFontMap::kLastCode; ++code) {
        const std::optional<char32_t> character = SymbolFontMap::fontCharacter("Wingdings", code);
        ASSERT_TRUE(character.has_value()) << code;
        EXPECT_TRUE(isVisible(*character)) << code;
        EXPECT_TRUE(seen.insert(*character).second) << "code " << code << " repeats a picture";
        EXPECT_EQ(SymbolFontMap::picture("Wingdings", code), *character) << code;
    }
    EXPECT_EQ(seen.size(), 223u);
}

TEST(SymbolFontMapTest, EveryFontGivesTwoHundredTwentyThreeDistinctVisiblePictures) {
    for (const char* family :
         {"Wingdings", "Wingdings 2", "Wingdings 3", "Webdings", "Symbol", "Arial", ""}) {
        const SymbolFontMap::Pictures pictures = SymbolFontMap::pictures(family);
        const std::set<char32_t> distinct(pictures.begin(), pictures.end());
        EXPECT_EQ(distinct.size(), 223u) << family;
        for (const char32_t picture : pictures) {
            EXPECT_TRUE(isVisible(picture)) << family << " " << static_cast<uint32_t>(picture);
        }
    }
}

TEST(SymbolFontMapTest, GapsAndRepeatsShowAFreeWingdingsPicture) {
    const struct {
        const char* family;
        int code;
        char32_t picture;
    } cases[] = {
        {"Arial", 0x41, 0x41},      // the font's own letter
        {"Arial", 0x81, 0x2780},    // unassigned byte
        {"Arial", 0xA0, 0x2B1D},    // no-break space draws nothing
        {"Arial", 0xAD, 0x1F7CF},   // nor does the soft hyphen
        {"Arial", 0x7F, 0x25AF},    // delete control
        {"Symbol", 0xD2, 0xAE},     // registered sign, serif
        {"Symbol", 0xE2, 0x1F86B},  // the sans-serif one would look the same
        {"Symbol", 0x90, 0x278E},
        {"Symbol", 0xB7, 0x2022},  // its own bullet, though a lower gap wanted it
        {"Symbol", 0x9F, 0x2B1D},  // so that gap takes the next free Wingdings picture {"Wingdings
                                   // 2", 0xFF, 0x229E}, {"Webdings", 0x7F, 0x25AF},
        {"Webdings", 0x80, 0x1F6B9},
        {"Wingdings", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.family << " " << c.code);
        EXPECT_EQ(SymbolFontMap::picture(c.family, c.code), c.picture);
    }
}

}  // namespace
}  // namespace murmelix
