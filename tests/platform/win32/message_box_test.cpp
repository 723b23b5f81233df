#include "platform/win32/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host.h"

namespace {

TEST(MessageBoxTest, HeadlessGoesToStandardErrorAsUtf8) {
    setenv("KAVRO_HEADLESS", "1", 1);
    Host_ReloadSettings();
    EXPECT_FALSE(Host_HasDesktop());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "You need a 3D Card", "Xolm - DX 9 Jump\xB4n Run", 16), IDOK);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Xolm - DX 9 Jump\xC2\xB4n Run: You need a 3D Card\n");
}

TEST(MessageBoxTest, Cp1252UpperControlRangeMapsToItsOwnCharacters) {
    EXPECT_EQ(Host_Utf8FromCp1252("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(Host_Utf8FromCp1252("a\xE9"), "a\xC3\xA9");
    EXPECT_EQ(Host_Utf8FromCp1252(nullptr), "");
}

TEST(HostTest, HeadlessVideoUsesTheDummyDriver) {
    setenv("KAVRO_HEADLESS", "1", 1);
    Host_ReloadSettings();
    EXPECT_TRUE(Host_VideoInit());
    Host_Shutdown();
}

}  // namespace
