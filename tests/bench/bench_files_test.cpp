// The frame benchmark's files: the route repeated lap after lap, the probe's report and frame
// records, and the trace check that tells whether a deliverable plays.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/bench_files.h"

namespace {

class BenchFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char dir[] = "/tmp/kavro-bench-test-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
    }
    void TearDown() override {
        for (const std::string& f : files_) std::remove(f.c_str());
        std::remove(dir_.c_str());
    }
    std::string Write(const std::string& name, const std::string& text) {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        files_.push_back(path);
        return path;
    }
    std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string dir_;
    std::vector<std::string> files_;
};

TEST_F(BenchFilesTest, ALapIsRepeatedAsLongAsItsLastFrameAndEndsWithEscape) {
    std::string lap = Write("lap.keys", "# a lap\n1-3 Right\n2 Space   # jump\n\n5 Left\n");
    std::string out = dir_ + "/route.keys";
    files_.push_back(out);
    std::string error;
    EXPECT_EQ(Bench_RepeatLap(lap, 2, out, &error), 11);
    EXPECT_EQ(Read(out),
              "1-3 Right\n2-2 Space\n5-5 Left\n6-8 Right\n7-7 Space\n10-10 Left\n11 Escape\n");
}

TEST_F(BenchFilesTest, MalformedLapsAreRefusedWithTheLine) {
    std::string out = dir_ + "/route.keys";
    files_.push_back(out);
    std::string error;
    EXPECT_EQ(Bench_RepeatLap(Write("a.keys", "1-3 Right\nx-4 Left\n"), 1, out, &error), 0);
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(Bench_RepeatLap(Write("b.keys", "5-2 Right\n"), 1, out, &error), 0);
    EXPECT_EQ(Bench_RepeatLap(Write("c.keys", "0 Right\n"), 1, out, &error), 0);
    EXPECT_EQ(Bench_RepeatLap(Write("d.keys", "3- Right\n"), 1, out, &error), 0);
    EXPECT_EQ(Bench_RepeatLap(Write("e.keys", "# nothing\n"), 1, out, &error), 0);
    EXPECT_EQ(Bench_RepeatLap(dir_ + "/missing.keys", 1, out, &error), 0);
}

TEST_F(BenchFilesTest, ReportsAreNameValueLines) {
    std::map<std::string, int64_t> values;
    EXPECT_TRUE(Bench_ReadReport(Write("r.txt", "frames 12\nspawn_ns -5\n"), &values));
    EXPECT_EQ(values["frames"], 12);
    EXPECT_EQ(values["spawn_ns"], -5);
    EXPECT_FALSE(Bench_ReadReport(Write("bad.txt", "frames\n"), &values));
    EXPECT_FALSE(Bench_ReadReport(dir_ + "/none.txt", &values));
}

TEST_F(BenchFilesTest, FrameRecordsMustBeWholeAndSound) {
    BenchFrameRecord r{};
    r.presented = 1;
    r.text_count = 7;
    std::string one(reinterpret_cast<const char*>(&r), sizeof(r));
    std::vector<BenchFrameRecord> frames;
    EXPECT_TRUE(Bench_ReadFrameLog(Write("ok.bin", one + one), &frames));
    EXPECT_EQ(frames.size(), 2u);
    EXPECT_FALSE(Bench_ReadFrameLog(Write("cut.bin", one + one.substr(0, 10)), &frames));
    r.text_count = 8;
    std::string wrong(reinterpret_cast<const char*>(&r), sizeof(r));
    EXPECT_FALSE(Bench_ReadFrameLog(Write("wrong.bin", wrong), &frames));
}

TEST_F(BenchFilesTest, APlayingProgramHasPresentedItsFirstFrame) {
    EXPECT_TRUE(Bench_TracePresented(Write("t1.txt", "text 1 1 x\npresent 1\n")));
    EXPECT_FALSE(Bench_TracePresented(Write("t2.txt", "message 16 a\tb\n")));
    EXPECT_FALSE(Bench_TracePresented(Write("t3.txt", "present 12\n")));
}

}  // namespace
