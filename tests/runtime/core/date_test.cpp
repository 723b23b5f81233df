// Date and time: validity of dates, the 32-bit range, components, Date_Format's tokens, and
// round trips through several time zones.
#include "runtime/core/date.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <string>

#include "runtime/core/strings.h"
#include "tests/support/runtime_fixture.h"

namespace {

class DateTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        const char* tz = getenv("TZ");
        saved_tz_ = tz ? tz : "";
        had_tz_ = tz != nullptr;
    }
    void TearDown() override {
        if (had_tz_)
            setenv("TZ", saved_tz_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
        RuntimeTest::TearDown();
    }
    static void UseZone(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }
    // Date_Format at the current position; the position must end on the terminator.
    std::string Format(const char* mask, int32_t date) {
        int32_t p = String_Globals().position;
        char* text = Date_Format(mask, date, p);
        std::string out = text;
        EXPECT_EQ(text, String_Globals().base + p);
        EXPECT_EQ(String_Globals().position, p + static_cast<int32_t>(out.size()));
        String_SetPosition(p);
        return out;
    }

  private:
    std::string saved_tz_;
    bool had_tz_ = false;
};

constexpr const char* kAll = "%yyyy-%mm-%dd %hh:%ii:%ss";

TEST_F(DateTest, LeapDaysFollowTheGregorianRule) {
    EXPECT_NE(Date_Make(2024, 2, 29, 0, 0, 0), -1);
    EXPECT_NE(Date_Make(2000, 2, 29, 0, 0, 0), -1);
    EXPECT_EQ(Date_Make(2023, 2, 29, 0, 0, 0), -1);
    EXPECT_EQ(Date_Make(2100, 2, 29, 0, 0, 0), -1);
    EXPECT_EQ(Date_Make(3600, 2, 29, 0, 0, 0), -1);
    EXPECT_EQ(Date_Make(2024, 2, 30, 0, 0, 0), -1);
}

TEST_F(DateTest, ComponentsOutsideTheCalendarAreInvalid) {
    struct Case {
        int32_t y, mo, d, h, mi, s;
    } bad[] = {{2024, 4, 31, 0, 0, 0},  {2024, 6, 31, 0, 0, 0}, {2024, 9, 31, 0, 0, 0},
               {2024, 11, 31, 0, 0, 0}, {2024, 0, 1, 0, 0, 0},  {2024, 13, 1, 0, 0, 0},
               {2024, 1, 0, 0, 0, 0},   {2024, 1, 32, 0, 0, 0}, {2024, 1, 1, 24, 0, 0},
               {2024, 1, 1, -1, 0, 0},  {2024, 1, 1, 0, 60, 0}, {2024, 1, 1, 0, 0, 60},
               {2024, 1, 1, 0, 0, -1},  {0, 1, 1, 0, 0, 0},     {-5, 1, 1, 0, 0, 0}};
    for (const Case& c : bad) {
        EXPECT_EQ(Date_Make(c.y, c.mo, c.d, c.h, c.mi, c.s), -1)
            << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s;
    }
    EXPECT_NE(Date_Make(2024, 12, 31, 23, 59, 59), -1);
}

TEST_F(DateTest, MomentsOutsideTheSigned32BitRangeGiveMinusOne) {
    EXPECT_EQ(Date_Make(2038, 1, 19, 3, 14, 7), INT32_MAX);
    EXPECT_EQ(Date_Make(2038, 1, 19, 3, 14, 8), -1);
    EXPECT_EQ(Date_Make(2100, 1, 1, 0, 0, 0), -1);
    EXPECT_EQ(Date_Make(1901, 12, 13, 20, 45, 52), INT32_MIN);
    EXPECT_EQ(Date_Make(1901, 12, 13, 20, 45, 51), -1);
    EXPECT_EQ(Date_Make(1, 1, 1, 0, 0, 0), -1);
    EXPECT_EQ(Date_Make(2147483647, 12, 31, 23, 59, 59), -1);
    // Before 1970 but within range: negative values that read back.
    int32_t eve = Date_Make(1969, 12, 31, 0, 0, 0);
    EXPECT_EQ(eve, -86400);
    EXPECT_EQ(Format(kAll, eve), "1969-12-31 00:00:00");
}

TEST_F(DateTest, FirstDayIsTheSameInEveryZone) {
    for (const char* zone : {"UTC0", "EST5EDT,M3.2.0,M11.1.0", "IST-5:30", "NZST-12NZDT"}) {
        UseZone(zone);
        EXPECT_EQ(Date_Make(1970, 1, 1, 1, 2, 3), 3723) << zone;
        EXPECT_EQ(Date_Make(1970, 1, 2, 0, 0, 0), 86400) << zone;
    }
}

TEST_F(DateTest, WallClockDigitsComeBackInEveryZoneAndSeason) {
    for (const char* zone : {"UTC0", "CET-1CEST,M3.5.0,M10.5.0/3", "EST5EDT,M3.2.0,M11.1.0",
                             "IST-5:30", "AEST-10AEDT,M10.1.0,M4.1.0/3"}) {
        UseZone(zone);
        int32_t date = Date_Make(2026, 12, 7, 5, 4, 21);
        EXPECT_EQ(Format(kAll, date), "2026-12-07 05:04:21") << zone;
        EXPECT_EQ(Date_Year(date), 2026);
        EXPECT_EQ(Date_Month(date), 12);
        EXPECT_EQ(Date_Day(date), 7);
        EXPECT_EQ(Date_Hour(date), 5);
        EXPECT_EQ(Date_Minute(date), 4);
        EXPECT_EQ(Date_Second(date), 21);
        EXPECT_EQ(Format(kAll, Date_Make(2024, 7, 15, 12, 0, 0)), "2024-07-15 12:00:00") << zone;
        // The hour that a spring-forward skips is still a wall-clock reading of its own.
        EXPECT_EQ(Format(kAll, Date_Make(2024, 3, 31, 2, 30, 0)), "2024-03-31 02:30:00") << zone;
    }
}

TEST_F(DateTest, LondonWhoseStandardOffsetIn1970WasAnHour) {
    struct stat st;
    if (stat("/usr/share/zoneinfo/Europe/London", &st) != 0) {
        GTEST_SKIP() << "no time zone data on this machine";
    }
    UseZone("Europe/London");
    EXPECT_EQ(Format(kAll, Date_Make(2024, 1, 15, 12, 0, 0)), "2024-01-15 12:00:00");
    EXPECT_EQ(Format(kAll, Date_Make(2024, 7, 15, 12, 0, 0)), "2024-07-15 12:00:00");
}

TEST_F(DateTest, NowFollowsTheZone) {
    // Sample until both readings fall in the same second of the real clock.
    for (int attempt = 0; attempt < 5; ++attempt) {
        time_t before = time(nullptr);
        UseZone("UTC0");
        int32_t utc = Date_Now();
        UseZone("IST-5:30");
        int32_t india = Date_Now();
        if (time(nullptr) != before) continue;
        EXPECT_EQ(india - utc, 5 * 3600 + 30 * 60);
        EXPECT_EQ(utc, static_cast<int32_t>(before));
        return;
    }
    FAIL() << "the clock never held still for a second";
}

TEST_F(DateTest, SecondsTokenGivesExactlyTwoDigits) {
    int32_t date = Date_Make(2024, 5, 6, 7, 8, 7);
    EXPECT_EQ(Format("%ss", date), "07");
    EXPECT_EQ(Format("%SS", date), "07");
    EXPECT_EQ(Format("%YYYY/%Mm/%dD %Hh.%iI.%sS", date), "2024/05/06 07.08.07");
    EXPECT_EQ(Format("%yy", date), "24");
    EXPECT_EQ(Format("'%yy'", Date_Make(1999, 1, 1, 0, 0, 0)), "'99'");
}

TEST_F(DateTest, PercentSignsThatStartNoToken) {
    int32_t date = Date_Make(2024, 5, 6, 7, 8, 9);
    EXPECT_EQ(Format("100%", date), "100%");
    EXPECT_EQ(Format("%x%", date), "%x%");
    EXPECT_EQ(Format("%y-%m", date), "%y-%m");
    EXPECT_EQ(Format("%%ss", date), "%09");
    EXPECT_EQ(Format("%yyy", date), "24y");
    EXPECT_EQ(Format("", date), "");
    EXPECT_EQ(Format(nullptr, date), "");
}

TEST_F(DateTest, InvalidDateFormatsAsZeros) {
    EXPECT_EQ(Date_Year(-1), 0);
    EXPECT_EQ(Date_Second(-1), 0);
    EXPECT_EQ(Format(kAll, -1), "0000-00-00 00:00:00");
    EXPECT_EQ(Format("%yy", -1), "00");
}

TEST_F(DateTest, LongMasksGrowTheReservation) {
    std::string mask(10000, 'x');
    mask += "%ss";
    std::string expected(10000, 'x');
    expected += "42";
    EXPECT_EQ(Format(mask.c_str(), Date_Make(2024, 1, 1, 0, 0, 42)), expected);
    std::string many;
    for (int i = 0; i < 3000; ++i) many += "%yyyy";
    std::string text = Format(many.c_str(), Date_Make(2024, 1, 1, 0, 0, 0));
    ASSERT_EQ(text.size(), 12000u);
    EXPECT_EQ(text.substr(11996), "2024");
}

TEST_F(DateTest, MaskInTheTemporaryBufferAtTheOutputPosition) {
    // The mask sits where the output goes, and the output makes the buffer grow.
    String_Append("%hh:%ii");
    ASSERT_EQ(String_Globals().position, 7);
    char* text = Date_Format(String_Globals().base, Date_Make(2024, 1, 1, 13, 45, 0), 0);
    EXPECT_STREQ(text, "13:45");
    EXPECT_EQ(String_Globals().position, 5);
}

}  // namespace
