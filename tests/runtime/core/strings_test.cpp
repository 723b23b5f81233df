#include <cstring>
#include <string>

#include "platform/win32/heap.h"
#include "platform/win32/heap_counts.h"
#include "runtime/core/strings.h"
#include "runtime/core/temp_text.h"
#include "tests/support/runtime_fixture.h"

namespace {

class StringsTest : public RuntimeTest {
  protected:
    StringGlobals& g() { return String_Globals(); }
    // The temporary text from p to the current position.
    std::string From(int32_t p) { return std::string(g().base + p, g().base + g().position); }
};

TEST_F(StringsTest, AppendOfNullOnAnEmptyBuffer) {
    String_Append(nullptr);
    EXPECT_EQ(g().position, 0);
    EXPECT_EQ(g().base[0], 0);
}

TEST_F(StringsTest, ScoreLinesJoinPartsInPlace) {
    String_Append("SCORE ");
    String_FromQuad(0, g().position);
    EXPECT_STREQ(g().base, "SCORE 0");
    EXPECT_EQ(g().position, 7);
    String_SetPosition(0);
    String_Append("SCORE ");
    String_FromQuad(-2147483648LL, g().position);
    EXPECT_STREQ(g().base, "SCORE -2147483648");
}

TEST_F(StringsTest, ProducersAtTheExtremes) {
    struct Case {
        int64_t value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-1, "-1"},
        {2147483647, "2147483647"},
        {-2147483648LL, "-2147483648"},
        {2147483648LL, "2147483648"},
        {-2147483649LL, "-2147483649"},
        {INT64_MAX, "9223372036854775807"},
        {INT64_MIN, "-9223372036854775808"},
    };
    for (const Case& c : cases) {
        String_SetPosition(0);
        String_FromQuad(c.value, 0);
        EXPECT_STREQ(g().base, c.text);
        EXPECT_EQ(g().position, static_cast<int32_t>(std::strlen(c.text))) << c.text;
    }
    String_SetPosition(0);
    String_FromLong(INT32_MIN, 0);
    EXPECT_STREQ(g().base, "-2147483648");
}

TEST_F(StringsTest, ChrOfZeroIsEmptyButAdvances) {
    String_Chr('A', 0);
    EXPECT_EQ(From(0), "A");
    String_Chr(0, g().position);
    EXPECT_EQ(g().position, 2);
    EXPECT_STREQ(g().base, "A");
}

TEST_F(StringsTest, LeftRightMidClamp) {
    auto run = [&](auto f) {
        String_SetPosition(0);
        f();
        return std::string(g().base);
    };
    EXPECT_EQ(run([] { String_Left("abc", 5, 0); }), "abc");
    EXPECT_EQ(run([] { String_Left("abc", -1, 0); }), "");
    EXPECT_EQ(run([] { String_Right("abc", 2, 0); }), "bc");
    EXPECT_EQ(run([] { String_Right("abc", 9, 0); }), "abc");
    EXPECT_EQ(run([] { String_Right("abc", -3, 0); }), "");
    EXPECT_EQ(run([] { String_Mid("abcdef", 0, 2, 0); }), "ab");
    EXPECT_EQ(run([] { String_Mid("abcdef", 1, 2, 0); }), "ab");
    EXPECT_EQ(run([] { String_Mid("abcdef", 3, 100, 0); }), "cdef");
    EXPECT_EQ(run([] { String_Mid("abc", 10, 2, 0); }), "");
    EXPECT_EQ(run([] { String_Mid("abc", 2, -4, 0); }), "");
    EXPECT_EQ(run([] { String_Left(nullptr, 3, 0); }), "");
    EXPECT_EQ(g().position, 0);
}

TEST_F(StringsTest, SourceInTheBufferSurvivesGrowth) {
    // A produced text near the end of the small start-up buffer.
    String_Append("hello world");
    EXPECT_EQ(g().capacity, 16);
    // Reserving at the current position makes the buffer grow (and usually move).
    String_Left(g().base, 5, g().position);
    EXPECT_GT(g().capacity, 16);
    EXPECT_EQ(std::string(g().base), "hello worldhello");

    // The same for appending a text that lies in the buffer.
    String_SetPosition(0);
    std::string big(20000, 'x');
    String_Append(big.c_str());
    int32_t end = g().position;
    String_Append(g().base + end - 3);  // "xxx" from the buffer itself
    EXPECT_EQ(g().position, end + 3);
    EXPECT_EQ(std::strlen(g().base), static_cast<size_t>(end + 3));
}

TEST_F(StringsTest, LongTextGrowsTheBufferOnceWithHeadroom) {
    std::string big(20000, 'y');
    String_Append(big.c_str());
    EXPECT_EQ(g().capacity, 20000 + 16384);
    EXPECT_EQ(g().position, 20000);
    EXPECT_EQ(HeapSize(g().heap, 0, g().base), static_cast<SIZE_T>(20000 + 16384 + 5));
}

TEST_F(StringsTest, StoreAndAssignAndEquality) {
    StringVariable v = nullptr;
    String_Store(&v, 0);  // empty temporary text: 5 bytes, in one granule
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(HeapSize(g().heap, 0, v), 16u);
    EXPECT_EQ(String_Equal(v, nullptr), 1);
    EXPECT_EQ(String_Equal(nullptr, ""), 1);
    EXPECT_EQ(String_Equal("a", "ab"), 0);

    String_Append("abc");
    String_Store(&v, 0);
    EXPECT_STREQ(v, "abc");
    EXPECT_EQ(g().position, 0);
    EXPECT_EQ(HeapSize(g().heap, 0, v), 16u);

    EXPECT_EQ(String_Assign(&v, "hello"), 6);
    EXPECT_STREQ(v, "hello");
    EXPECT_EQ(String_Assign(&v, v + 2), 4);  // its own tail
    EXPECT_STREQ(v, "llo");
    EXPECT_EQ(String_Len(v), 3);
    EXPECT_EQ(String_Assign(&v, nullptr), 1);
    EXPECT_EQ(v, nullptr);
    EXPECT_EQ(String_Len(nullptr), 0);

    StringVariable fresh = nullptr;
    String_InitCopy(&fresh, nullptr);
    EXPECT_EQ(fresh, nullptr);
    String_InitCopy(&fresh, "x");
    EXPECT_STREQ(fresh, "x");
    String_Free(fresh);
    String_Free(nullptr);
}

TEST_F(StringsTest, ValReadsEveryForm) {
    EXPECT_EQ(String_Val(nullptr), 0);
    EXPECT_EQ(String_Val("  42abc"), 42);
    EXPECT_EQ(String_Val("\t+7"), 7);
    EXPECT_EQ(String_Val("-$1F"), -31);
    EXPECT_EQ(String_Val("$ff"), 255);
    EXPECT_EQ(String_Val("%101"), 5);
    EXPECT_EQ(String_Val("%102"), 2);
    EXPECT_EQ(String_Val("x1"), 0);
    EXPECT_EQ(String_Val("- 5"), 0);
    EXPECT_EQ(String_Val("$"), 0);
    EXPECT_EQ(String_Val("9223372036854775807"), INT64_MAX);
    // Wraps on overflow instead of trapping.
    EXPECT_EQ(String_Val("18446744073709551617"), 1);
    EXPECT_EQ(String_Val("-9223372036854775808"), INT64_MIN);
}

TEST_F(StringsTest, TruncateTowardZero) {
    EXPECT_EQ(Number_Truncate(2.9), 2);
    EXPECT_EQ(Number_Truncate(-2.9), -2);
    EXPECT_EQ(Number_Truncate(1e300), INT32_MAX);
    EXPECT_EQ(Number_Truncate(-1e300), INT32_MIN);
}

TEST_F(StringsTest, TempTextSavesBuildsAndRestores) {
    String_Append("keep");
    int32_t p0 = g().position;
    {
        TempText t;
        t.Add("SCORE ").Add(int64_t{100});
        EXPECT_STREQ(t.Text(), "SCORE 100");
        // Texts built while the first is in use land after it.
        TempText inner;
        inner.Add("x");
        EXPECT_STREQ(t.Text(), "SCORE 100");
    }
    EXPECT_EQ(g().position, p0);
    StringVariable v = nullptr;
    {
        TempText t;
        t.Add("v=").Add(int32_t{-5});
        t.StoreInto(&v);
    }
    EXPECT_STREQ(v, "v=-5");
    EXPECT_EQ(g().position, p0);
}

TEST_F(StringsTest, AVariableStoredAgainKeepsItsBlockWithinTheSlack) {
    StringVariable v = nullptr;
    String_Assign(&v, "9999");
    EXPECT_EQ(HeapSize(g().heap, 0, v), 16u);
    const HeapCallCounts before = Heap_CallCounts();
    // The same length again, shorter ones (a frame rate shown as "" between its counts), and a
    // frame rate gaining a digit or two.
    String_Assign(&v, "5678");
    String_Assign(&v, "");
    String_Append("99");
    String_Store(&v, 0);
    EXPECT_STREQ(v, "99");
    String_Assign(&v, "10000");
    String_Assign(&v, "100000");
    EXPECT_STREQ(v, "100000");
    EXPECT_EQ(Heap_CallCounts().allocations, before.allocations);
    EXPECT_EQ(Heap_CallCounts().reallocations, before.reallocations);
    // Longer texts grow it to length + 5 rounded up to the granule; a much shorter one gives the
    // rest back.
    String_Assign(&v, "12345678901");
    EXPECT_EQ(HeapSize(g().heap, 0, v), 16u);
    String_Assign(&v, "123456789012");
    EXPECT_EQ(HeapSize(g().heap, 0, v), 32u);
    const std::string big(200, 'x');
    String_Assign(&v, big.c_str());
    EXPECT_EQ(HeapSize(g().heap, 0, v), 208u);
    EXPECT_EQ(std::string(v), big);
    String_Assign(&v, "ab");
    EXPECT_STREQ(v, "ab");
    EXPECT_EQ(HeapSize(g().heap, 0, v), 16u);
    String_Free(v);
}

}  // namespace
