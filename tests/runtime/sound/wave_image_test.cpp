// The WAVE reader: where the format and the samples are, extra chunks skipped, and every way an
// image can end too early.
#include <gtest/gtest.h>

#include "runtime/sound/sound.h"
#include "tests/runtime/sound/wave_builder.h"

namespace {

int32_t Size(const std::vector<uint8_t>& v) {
    return static_cast<int32_t>(v.size());
}

TEST(WaveImageTest, FindsFormatAndSamples) {
    auto wav = WaveBuilder().Riff().Fmt(2, 22050, 16).Chunk("data", "abcdefgh").Bytes();
    WaveImage w{};
    ASSERT_TRUE(Sound_ParseWave(wav.data(), Size(wav), &w));
    EXPECT_EQ(w.format.wFormatTag, 1);
    EXPECT_EQ(w.format.nChannels, 2);
    EXPECT_EQ(w.format.nSamplesPerSec, 22050u);
    EXPECT_EQ(w.format.nBlockAlign, 4);
    EXPECT_EQ(w.format.cbSize, 0);
    EXPECT_EQ(w.bytes, 8u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(w.samples), 8), "abcdefgh");
}

TEST(WaveImageTest, ListAndFactChunksAreSkipped) {
    auto wav = WaveBuilder()
                   .Riff()
                   .Fmt(1, 8000, 8, 18)
                   .Chunk("fact", "\x04\x00\x00\x00")
                   .Chunk("LIST",
                          "INFOISFT\x03\x00\x00\x00"
                          "abc")  // odd size: no pad byte
                   .Chunk("data", "\x10\x20\x30\x40")
                   .Bytes();
    WaveImage w{};
    ASSERT_TRUE(Sound_ParseWave(wav.data(), Size(wav), &w));
    EXPECT_EQ(w.bytes, 4u);
    EXPECT_EQ(w.samples[0], 0x10);
    EXPECT_EQ(w.format.nSamplesPerSec, 8000u);
}

TEST(WaveImageTest, OddChunksWithOrWithoutPadAndExtensibleFormats) {
    const std::string samples("\x01\x80\x02\x7F\xFE\x00\x00\xFF", 8);
    const std::string info("INFOISFT\x05\0\0\0kavro", 17);
    struct Case {
        const char* what;
        std::vector<uint8_t> wav;
        uint16_t tag;  // as handed to the device
        uint16_t bits;
    };
    const Case cases[] = {
        {"odd LIST and its pad byte",
         WaveBuilder()
             .Riff()
             .Fmt(2, 22050, 16)
             .Chunk("LIST", info, true)
             .Chunk("data", samples)
             .Bytes(),
         1, 16},
        {"odd LIST without its pad byte",
         WaveBuilder().Riff().Fmt(2, 22050, 16).Chunk("LIST", info).Chunk("data", samples).Bytes(),
         1, 16},
        {"extensible PCM, 16-bit stereo",
         WaveBuilder()
             .Riff()
             .Extensible(2, 44100, 16)
             .Chunk("LIST", info, true)
             .Chunk("data", samples)
             .Bytes(),
         1, 16},
        {"extensible floating point stays extensible",
         WaveBuilder().Riff().Extensible(2, 44100, 32, 3).Chunk("data", samples).Bytes(), 0xFFFE,
         32},
    };
    for (const Case& c : cases) {
        WaveImage w{};
        ASSERT_TRUE(Sound_ParseWave(c.wav.data(), Size(c.wav), &w)) << c.what;
        EXPECT_EQ(w.format.wFormatTag, c.tag) << c.what;
        EXPECT_EQ(w.format.cbSize, c.tag == 1 ? 0 : 22) << c.what;
        EXPECT_EQ(w.format.nChannels, 2) << c.what;
        EXPECT_EQ(w.format.wBitsPerSample, c.bits) << c.what;
        EXPECT_EQ(w.format.nBlockAlign, 2 * c.bits / 8) << c.what;
        ASSERT_EQ(w.bytes, 8u) << c.what;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(w.samples), 8), samples) << c.what;
    }
}

TEST(WaveImageTest, MissingDataChunkFails) {
    auto wav = WaveBuilder().Riff().Fmt(1, 8000, 8).Chunk("LIST", "abcd").Bytes();
    WaveImage w{};
    EXPECT_FALSE(Sound_ParseWave(wav.data(), Size(wav), &w));
}

TEST(WaveImageTest, ChunkSizesPointingPastTheEndFail) {
    auto past_data = WaveBuilder().Riff().Fmt(1, 8000, 8).ChunkHeader("data", 100).Bytes();
    WaveImage w{};
    EXPECT_FALSE(Sound_ParseWave(past_data.data(), Size(past_data), &w));
    // A huge chunk before the data chunk would step far beyond the image.
    auto huge = WaveBuilder()
                    .Riff()
                    .Fmt(1, 8000, 8)
                    .ChunkHeader("LIST", 0xFFFFFFF0u)
                    .Chunk("data", "abcd")
                    .Bytes();
    EXPECT_FALSE(Sound_ParseWave(huge.data(), Size(huge), &w));
    auto fmt_past = WaveBuilder().Riff().ChunkHeader("fmt ", 0x7FFFFFFF).Bytes();
    EXPECT_FALSE(Sound_ParseWave(fmt_past.data(), Size(fmt_past), &w));
}

TEST(WaveImageTest, TheLengthHandedInBoundsTheWalk) {
    auto wav = WaveBuilder().Riff().Fmt(1, 8000, 8).Chunk("data", "abcd").Bytes();
    WaveImage w{};
    EXPECT_TRUE(Sound_ParseWave(wav.data(), Size(wav), &w));
    // Cut anywhere inside the data chunk: refused, never read beyond.
    for (int32_t cut = 0; cut < Size(wav); ++cut) {
        std::vector<uint8_t> copy(wav.begin(), wav.begin() + cut);
        EXPECT_FALSE(Sound_ParseWave(copy.data(), cut, &w)) << cut;
    }
    EXPECT_FALSE(Sound_ParseWave(wav.data(), -5, &w));
}

TEST(WaveImageTest, NotRiffOrNoLeadingFmtFails) {
    auto wav = WaveBuilder().Riff().Fmt(1, 8000, 8).Chunk("data", "abcd").Bytes();
    WaveImage w{};
    auto bad = wav;
    bad[0] = 'X';
    EXPECT_FALSE(Sound_ParseWave(bad.data(), Size(bad), &w));
    bad = wav;
    bad[12] = 'd';
    EXPECT_FALSE(Sound_ParseWave(bad.data(), Size(bad), &w));
    auto short_fmt = WaveBuilder().Riff().ChunkHeader("fmt ", 8).Chunk("data", "abcd").Bytes();
    EXPECT_FALSE(Sound_ParseWave(short_fmt.data(), Size(short_fmt), &w));
    EXPECT_FALSE(Sound_ParseWave(nullptr, 100, &w));
}

}  // namespace
