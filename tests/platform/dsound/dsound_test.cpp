// The DirectSound stand-in: the device, cooperative levels, buffer descriptions and formats,
// locking, and the controls.
#include "platform/dsound/dsound.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host.h"
#include "platform/host/test_hooks.h"
#include "tests/platform/win32/user32_fixture.h"

namespace {

class DSoundTest : public User32Test {
  protected:
    void SetUp() override {
        User32Test::SetUp();
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.lpszClassName = "DSoundTestClass";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(0, "DSoundTestClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_EQ(DirectSoundCreate(nullptr, &ds_, nullptr), DS_OK);
    }
    void TearDown() override {
        if (ds_) ds_->Release();
        User32Test::TearDown();
        UnregisterClassA("DSoundTestClass", nullptr);
    }
    static WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits) {
        WORD block = static_cast<WORD>(channels * bits / 8);
        return WAVEFORMATEX{WAVE_FORMAT_PCM, channels, rate, rate * block, block, bits, 0};
    }
    HRESULT Make(WAVEFORMATEX* format, DWORD bytes, DWORD flags, IDirectSoundBuffer** out) {
        DSBUFFERDESC d{};
        d.dwSize = sizeof(d);
        d.dwFlags = flags;
        d.dwBufferBytes = bytes;
        d.lpwfxFormat = format;
        return ds_->CreateSoundBuffer(&d, out, nullptr);
    }
    HWND window_ = nullptr;
    IDirectSound* ds_ = nullptr;
};

TEST_F(DSoundTest, BuffersNeedTheCooperativeLevelFirst) {
    WAVEFORMATEX f = Pcm(1, 8000, 8);
    IDirectSoundBuffer* b = nullptr;
    EXPECT_EQ(Make(&f, 100, 0, &b), DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(ds_->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    EXPECT_EQ(ds_->SetCooperativeLevel(window_, 9), DSERR_INVALIDPARAM);
    ASSERT_EQ(ds_->SetCooperativeLevel(window_, DSSCL_PRIORITY), DS_OK);
    ASSERT_EQ(Make(&f, 100, 0, &b), DS_OK);
    b->Release();
}

TEST_F(DSoundTest, PrimaryBufferHasNoSizeOrFormatAndCannotBeLocked) {
    ASSERT_EQ(ds_->SetCooperativeLevel(window_, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* primary = nullptr;
    WAVEFORMATEX f = Pcm(2, 44100, 16);
    EXPECT_EQ(Make(&f, 0, DSBCAPS_PRIMARYBUFFER, &primary), DSERR_INVALIDPARAM);
    EXPECT_EQ(Make(nullptr, 4, DSBCAPS_PRIMARYBUFFER, &primary), DSERR_INVALIDPARAM);
    ASSERT_EQ(Make(nullptr, 0, DSBCAPS_PRIMARYBUFFER, &primary), DS_OK);
    void* p = nullptr;
    DWORD n = 0;
    EXPECT_EQ(primary->Lock(0, 4, &p, &n, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);
    WAVEFORMATEX got{};
    ASSERT_EQ(primary->GetFormat(&got, sizeof(got), nullptr), DS_OK);
    EXPECT_GT(got.nSamplesPerSec, 0u);
    primary->Release();
}

TEST_F(DSoundTest, OnlyPlayablePcmIsAccepted) {
    ASSERT_EQ(ds_->SetCooperativeLevel(window_, DSSCL_PRIORITY), DS_OK);
    IDirectSoundBuffer* b = nullptr;
    WAVEFORMATEX f = Pcm(1, 8000, 8);
    EXPECT_EQ(Make(nullptr, 100, 0, &b), DSERR_INVALIDPARAM);
    EXPECT_EQ(Make(&f, 3, 0, &b), DSERR_INVALIDPARAM);
    EXPECT_EQ(Make(&f, 0x10000000, 0, &b), DSERR_INVALIDPARAM);
    WAVEFORMATEX bad = f;
    bad.wFormatTag = 3;
    EXPECT_EQ(Make(&bad, 100, 0, &b), DSERR_BADFORMAT);
    bad = Pcm(3, 8000, 8);
    EXPECT_EQ(Make(&bad, 100, 0, &b), DSERR_BADFORMAT);
    bad = Pcm(1, 50, 8);
    EXPECT_EQ(Make(&bad, 100, 0, &b), DSERR_BADFORMAT);
    bad = f;
    bad.nAvgBytesPerSec += 1;
    EXPECT_EQ(Make(&bad, 100, 0, &b), DSERR_BADFORMAT);
    WAVEFORMATEX stereo = Pcm(2, 8000, 16);
    EXPECT_EQ(Make(&stereo, 100, DSBCAPS_CTRL3D, &b), DSERR_INVALIDPARAM);
    EXPECT_EQ(b, nullptr);
    DSBUFFERDESC d{};
    d.dwSize = 12;
    EXPECT_EQ(ds_->CreateSoundBuffer(&d, &b, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DSoundTest, LocksWrapAndMustBeGivenBack) {
    ASSERT_EQ(ds_->SetCooperativeLevel(window_, DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX f = Pcm(1, 8000, 8);
    IDirectSoundBuffer* b = nullptr;
    ASSERT_EQ(Make(&f, 10, DSBCAPS_STATIC, &b), DS_OK);
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0;
    DWORD n2 = 0;
    ASSERT_EQ(b->Lock(6, 8, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(n2, 4u);
    EXPECT_EQ(static_cast<uint8_t*>(p1)[0], 0x80);  // 8-bit silence
    EXPECT_EQ(static_cast<uint8_t*>(p1) - static_cast<uint8_t*>(p2), 6);
    void* q = nullptr;
    DWORD m = 0;
    EXPECT_EQ(b->Lock(0, 1, &q, &m, nullptr, nullptr, 0), DSERR_INVALIDCALL);
    EXPECT_EQ(b->Unlock(q, 1, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DS_OK);
    EXPECT_EQ(b->Unlock(p1, n1, p2, n2), DSERR_INVALIDCALL);
    // A wrapping range needs somewhere to put the second part.
    EXPECT_EQ(b->Lock(6, 8, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(10, 1, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->Lock(0, 11, &p1, &n1, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    b->Release();
}

TEST_F(DSoundTest, ControlsNeedTheirFlagsAndStayInRange) {
    ASSERT_EQ(ds_->SetCooperativeLevel(window_, DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX f = Pcm(2, 11025, 16);
    IDirectSoundBuffer* plain = nullptr;
    ASSERT_EQ(Make(&f, 64, DSBCAPS_STATIC, &plain), DS_OK);
    LONG v = 0;
    DWORD hz = 0;
    EXPECT_EQ(plain->GetPan(&v), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->GetVolume(&v), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(plain->GetFrequency(&hz), DSERR_CONTROLUNAVAIL);
    plain->Release();
    IDirectSoundBuffer* b = nullptr;
    ASSERT_EQ(Make(&f, 64, 0x180E2, &b), DS_OK);
    ASSERT_EQ(b->GetFrequency(&hz), DS_OK);
    EXPECT_EQ(hz, 11025u);
    EXPECT_EQ(b->SetPan(-10001), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetPan(-2500), DS_OK);
    ASSERT_EQ(b->GetPan(&v), DS_OK);
    EXPECT_EQ(v, -2500);
    EXPECT_EQ(b->SetVolume(1), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetVolume(-600), DS_OK);
    ASSERT_EQ(b->GetVolume(&v), DS_OK);
    EXPECT_EQ(v, -600);
    EXPECT_EQ(b->SetFrequency(99), DSERR_INVALIDPARAM);
    EXPECT_EQ(b->SetFrequency(44100), DS_OK);
    EXPECT_EQ(b->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    ASSERT_EQ(b->GetFrequency(&hz), DS_OK);
    EXPECT_EQ(hz, 11025u);
    b->Release();
}

TEST(DSoundCreateTest, OnlyTheDefaultDeviceAndAnOpenAudioDevice) {
    setenv("KAVRO_HEADLESS", "1", 1);
    Host_ReloadSettings();
    IDirectSound* ds = reinterpret_cast<IDirectSound*>(1);
    GUID other{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectSoundCreate(&other, &ds, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(ds, nullptr);
    EXPECT_EQ(DirectSoundCreate(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);
    Host_ResetAudio();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(DirectSound_Available());
    EXPECT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DSERR_NODRIVER);
    unsetenv("SDL_AUDIODRIVER");
    Host_ResetAudio();
    EXPECT_TRUE(DirectSound_Available());
    ASSERT_EQ(DirectSoundCreate(nullptr, &ds, nullptr), DS_OK);
    ds->Release();
}

}  // namespace
