#include "platform/win32/tls.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(TlsTest, EachThreadSeesItsOwnValue) {
    DWORD slot = TlsAlloc();
    ASSERT_NE(slot, TLS_OUT_OF_INDEXES);
    int mine = 1, theirs = 2;
    EXPECT_TRUE(TlsSetValue(slot, &mine));
    void* seen_there = &mine;
    std::thread t([&] {
        seen_there = TlsGetValue(slot);
        TlsSetValue(slot, &theirs);
    });
    t.join();
    EXPECT_EQ(seen_there, nullptr);
    EXPECT_EQ(TlsGetValue(slot), &mine);
    EXPECT_TRUE(TlsFree(slot));
    EXPECT_FALSE(TlsFree(slot));
    EXPECT_EQ(TlsGetValue(slot), nullptr);
    EXPECT_FALSE(TlsSetValue(999, &mine));
}

}  // namespace
