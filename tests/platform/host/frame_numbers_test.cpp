// Frame numbers and ranges as every setting reads them.
#include "platform/host/frame_numbers.h"

#include <gtest/gtest.h>

namespace {

struct RangeCase {
    const char* text;
    bool ok;
    uint32_t first;
    uint32_t last;
    bool is_range;
};

TEST(FrameNumbersTest, RangesReadAsEverySettingReadsThem) {
    const RangeCase cases[] = {
        {"1", true, 1, 1, false},
        {"4294967295", true, 4294967295u, 4294967295u, false},
        {"30-200", true, 30, 200, true},
        {"9-3", true, 9, 3, true},  // the order is the caller's rule
        {"0", false, 0, 0, false},
        {"4294967296", false, 0, 0, false},
        {"00000000001", false, 0, 0, false},
        {"", false, 0, 0, false},
        {" 5", false, 0, 0, false},
        {"+5", false, 0, 0, false},
        {"5-", false, 0, 0, true},
        {"-5", false, 0, 0, true},
        {"1-2-3", false, 0, 0, true},
        {"1 - 2", false, 0, 0, true},
    };
    for (const RangeCase& c : cases) {
        uint32_t first = 0;
        uint32_t last = 0;
        bool is_range = !c.is_range;
        EXPECT_EQ(Host_ParseFrameRange(c.text, &first, &last, &is_range), c.ok) << c.text;
        EXPECT_EQ(is_range, c.is_range) << c.text;
        if (c.ok) {
            EXPECT_EQ(first, c.first) << c.text;
            EXPECT_EQ(last, c.last) << c.text;
        }
    }
}

}  // namespace
