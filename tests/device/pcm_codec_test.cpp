#include "device/pcm_codec.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace murmelix {
namespace {

TEST(PcmCodecTest, DecodesSampleValuesToTheUnitRange) {
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        int bits;
        std::vector<float> expected;
    } cases[] = {
        {"8-bit silence and ends", {0x80, 0x00, 0xFF}, 8, {0.0f, -1.0f, 127.0f / 128.0f}},
        {"16-bit little-endian",
         {0x00, 0x00, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x40},
         16,
         {0.0f, -1.0f, 32767.0f / 32768.0f, 0.5f}},
        {"16-bit minus one step", {0xFF, 0xFF}, 16, {-1.0f / 32768.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<float> out(c.expected.size(), 99.0f);
        PcmCodec::decode(c.bytes.data(), c.expected.size(), 1, c.bits, out.data());
        EXPECT_EQ(out, c.expected);
    }
}

TEST(PcmCodecTest, EncodesWithRoundingAndClipping) {
    const struct {
        const char* name;
        std::vector<float> in;
        int bits;
        std::vector<uint8_t> expected;
    } cases[] = {
        {"16-bit exact values", {0.0f, -1.0f, 0.5f}, 16, {0x00, 0x00, 0x00, 0x80, 0x00, 0x40}},
        {"16-bit clips both ends", {1.0f, 1.5f, -2.0f}, 16, {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80}},
        {"16-bit rounds to nearest",
         {0.4f / 32768.0f, 0.6f / 32768.0f, -0.6f / 32768.0f},
         16,
         {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF}},
        {"8-bit centre and clipping", {0.0f, -1.0f, 1.0f, -3.0f}, 8, {0x80, 0x00, 0xFF, 0x00}},
        {"8-bit rounds to nearest", {0.4f / 128.0f, 0.6f / 128.0f}, 8, {0x80, 0x81}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out(c.expected.size(), 0xAA);
        PcmCodec::encode(c.in.data(), c.in.size(), 1, c.bits, out.data());
        EXPECT_EQ(out, c.expected);
    }
}

TEST(PcmCodecTest, EverySampleValueSurvivesDecodeAndEncode) {
    for (const int bits : {8, 16}) {
        const size_t count = bits == 8 ? 256 : 65536;
        std::vector<uint8_t> bytes(count * static_cast<size_t>(bits / 8));
        for (size_t i = 0; i < count; ++i) {
            if (bits == 8) {
                bytes[i] = static_cast<uint8_t>(i);
            } else {
                bytes[2 * i] = static_cast<uint8_t>(i & 0xFF);
                bytes[2 * i + 1] = static_cast<uint8_t>(i >> 8);
            }
        }
        std::vector<float> decoded(count);
        PcmCodec::decode(bytes.data(), count, 1, bits, decoded.data());
        std::vector<uint8_t> again(bytes.size());
        PcmCodec::encode(decoded.data(), count, 1, bits, again.data());
        EXPECT_EQ(again, bytes) << bits << " bits";
    }
}

TEST(PcmCodecTest, MapsChannels) {
    const struct {
        const char* name;
        std::vector<float> in;
        int inChannels;
        int outChannels;
        std::vector<float> expected;
    } cases[] = {
        {"mono to stereo", {0.25f, -0.5f}, 1, 2, {0.25f, 0.25f, -0.5f, -0.5f}},
        {"stereo to mono is the mean", {0.5f, 0.25f, -1.0f, 1.0f}, 2, 1, {0.375f, 0.0f}},
        {"stereo stays", {0.5f, 0.25f}, 2, 2, {0.5f, 0.25f}},
        {"stereo to four channels", {0.5f, 0.25f}, 2, 4, {0.5f, 0.25f, 0.0f, 0.0f}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t frames = c.in.size() / static_cast<size_t>(c.inChannels);
        std::vector<float> out(c.expected.size(), 9.0f);
        PcmCodec::mapChannels(c.in.data(), frames, c.inChannels, out.data(), c.outChannels);
        EXPECT_EQ(out, c.expected);
    }
}

}  // namespace
}  // namespace murmelix
