// The sound library over the DirectSound stand-in: starting the device (and its failures),
// sounds from WAVE images, numbers in use, and the end.
#include "runtime/sound/sound.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host.h"
#include "platform/host/test_hooks.h"
#include "platform/win32/loader.h"
#include "platform/win32/process.h"
#include "runtime/core/object_table.h"
#include "tests/platform/win32/user32_fixture.h"
#include "tests/runtime/sound/wave_builder.h"
#include "tests/support/runtime_fixture.h"

namespace {

class SoundTest : public RuntimeTest {
  protected:
    void SetUp() override {
        setenv("KAVRO_HEADLESS", "1", 1);
        unsetenv("KAVRO_MISSING");
        Host_ReloadSettings();
        User32Test::Clear();
        RuntimeTest::SetUp();
        Program_Globals().module_handle = GetModuleHandleA(nullptr);
        wav_ = WaveBuilder().Riff().Fmt(2, 22050, 16).Chunk("data", "0123456789ab").Bytes();
    }
    void TearDown() override {
        Sound_End();
        User32Test::Clear();
        unsetenv("KAVRO_MISSING");
        unsetenv("SDL_AUDIODRIVER");
        Host_ResetAudio();
        Host_ReloadSettings();
        RuntimeTest::TearDown();
    }
    int32_t Make(int32_t number) {
        return Sound_CreateFromMemory(number, wav_.data(), static_cast<int32_t>(wav_.size()));
    }
    SoundRecord* Record(int32_t number) {
        return static_cast<SoundRecord*>(ObjectTable_Get(Sound_Table(), number));
    }
    std::vector<uint8_t> wav_;
};

TEST_F(SoundTest, StartsOnTheDummyAudioDevice) {
    EXPECT_NE(Sound_Init(), 0);
    ASSERT_NE(Sound_Table(), nullptr);
    EXPECT_EQ(Sound_Table()->capacity, 64);
    EXPECT_EQ(Loader_ReferenceCount("dsound.dll"), 1);
    // Started before: at once, no second library reference.
    EXPECT_NE(Sound_Init(), 0);
    EXPECT_EQ(Loader_ReferenceCount("dsound.dll"), 1);
}

TEST_F(SoundTest, FailsWhenTheLibraryIsMarkedMissing) {
    setenv("KAVRO_MISSING", "d3d9.dll, DSOUND.DLL", 1);
    Host_ReloadSettings();
    EXPECT_EQ(Sound_Init(), 0);
    EXPECT_EQ(Make(1), 0);
}

TEST_F(SoundTest, FailsWhenTheAudioDriverCannotOpen) {
    Host_ResetAudio();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(Sound_Init(), 0);
    unsetenv("SDL_AUDIODRIVER");
    Host_ResetAudio();
    EXPECT_NE(Sound_Init(), 0);
}

TEST_F(SoundTest, SoundsHoldTheSamplesAndTheBufferControls) {
    ASSERT_NE(Sound_Init(), 0);
    EXPECT_EQ(Make(3), 1);
    SoundRecord* r = Record(3);
    ASSERT_NE(r, nullptr);
    ASSERT_NE(r->buffer, nullptr);
    EXPECT_EQ(r->pan, 0);
    EXPECT_EQ(r->volume, 0);
    EXPECT_EQ(r->frequency, 22050u);
    void* part1 = nullptr;
    DWORD bytes1 = 0;
    ASSERT_EQ(r->buffer->Lock(0, 0, &part1, &bytes1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER),
              DS_OK);
    ASSERT_EQ(bytes1, 12u);
    EXPECT_EQ(std::memcmp(part1, "0123456789ab", 12), 0);
    r->buffer->Unlock(part1, bytes1, nullptr, 0);
}

TEST_F(SoundTest, DynamicSoundsGetTheirOwnNumbers) {
    ASSERT_NE(Sound_Init(), 0);
    int32_t a = Make(-1);
    int32_t b = Make(-1);
    EXPECT_GE(a, 0x40000000);
    EXPECT_NE(a, b);
    EXPECT_NE(Record(a), nullptr);
    Sound_Free(a);
    EXPECT_EQ(ObjectTable_Find(Sound_Table(), a), nullptr);
    EXPECT_NE(Record(b), nullptr);
}

TEST_F(SoundTest, ANumberInUseFreesTheOldSoundFirst) {
    ASSERT_NE(Sound_Init(), 0);
    ASSERT_EQ(Make(7), 1);
    IDirectSoundBuffer* old = Record(7)->buffer;
    old->AddRef();  // keep it alive to see the library let go
    ASSERT_EQ(Make(7), 1);
    EXPECT_NE(Record(7)->buffer, old);
    EXPECT_EQ(old->Release(), 0u);
}

TEST_F(SoundTest, BadImagesChangeNothing) {
    ASSERT_NE(Sound_Init(), 0);
    ASSERT_EQ(Make(2), 1);
    IDirectSoundBuffer* kept = Record(2)->buffer;
    auto no_data = WaveBuilder().Riff().Fmt(1, 8000, 8).Chunk("LIST", "abcd").Bytes();
    EXPECT_EQ(Sound_CreateFromMemory(2, no_data.data(), static_cast<int32_t>(no_data.size())), 0);
    EXPECT_EQ(Record(2)->buffer, kept);
    auto past = WaveBuilder().Riff().Fmt(1, 8000, 8).ChunkHeader("data", 64).Bytes();
    EXPECT_EQ(Sound_CreateFromMemory(2, past.data(), static_cast<int32_t>(past.size())), 0);
    EXPECT_EQ(Sound_CreateFromMemory(2, nullptr, 100), 0);
    // Not PCM the buffers can hold: 12-bit samples.
    auto odd = WaveBuilder().Riff().Fmt(1, 8000, 12).Chunk("data", "abcd").Bytes();
    EXPECT_EQ(Sound_CreateFromMemory(2, odd.data(), static_cast<int32_t>(odd.size())), 0);
    EXPECT_EQ(Record(2)->buffer, kept);
    // A number the table refuses.
    EXPECT_EQ(Make(-2), 0);
}

TEST_F(SoundTest, ExtensiblePcmMakesASoundAndOtherSubFormatsDoNot) {
    ASSERT_NE(Sound_Init(), 0);
    auto pcm = WaveBuilder().Riff().Extensible(2, 44100, 16).Chunk("data", "abcdefgh").Bytes();
    ASSERT_EQ(Sound_CreateFromMemory(4, pcm.data(), static_cast<int32_t>(pcm.size())), 1);
    EXPECT_EQ(Record(4)->frequency, 44100u);
    auto floats =
        WaveBuilder().Riff().Extensible(2, 44100, 32, 3).Chunk("data", "abcdefgh").Bytes();
    EXPECT_EQ(Sound_CreateFromMemory(5, floats.data(), static_cast<int32_t>(floats.size())), 0);
}

TEST_F(SoundTest, NothingBeforeTheStart) {
    EXPECT_EQ(Make(1), 0);
    Sound_Free(1);
    Sound_End();
}

TEST_F(SoundTest, EndFreesEverySoundAndUnloadsTheLibrary) {
    ASSERT_NE(Sound_Init(), 0);
    ASSERT_EQ(Make(1), 1);
    ASSERT_NE(Make(-1), 0);
    IDirectSoundBuffer* kept = Record(1)->buffer;
    kept->AddRef();
    Sound_End();
    EXPECT_EQ(kept->Release(), 0u);
    EXPECT_EQ(Loader_ReferenceCount("dsound.dll"), 0);
    EXPECT_EQ(Sound_Table(), nullptr);
}

}  // namespace
