#include "cli/progress_line.h"

#include <cstdio>
#include <string>

#include "gtest/gtest.h"

namespace vintrel::cli {
namespace {

using std::chrono::milliseconds;

// A stream in memory and a clock the test moves by hand.
class ProgressLineTest : public ::testing::Test {
 protected:
  void SetUp() override { stream_ = std::tmpfile(); }
  void TearDown() override { std::fclose(stream_); }

  // Everything written to the stream so far.
  std::string Written() {
    std::fflush(stream_);
    std::string text;
    std::rewind(stream_);
    for (int c = std::fgetc(stream_); c != EOF; c = std::fgetc(stream_))
      text += static_cast<char>(c);
    return text;
  }

  std::function<ProgressLine::Clock::time_point()> Clock() {
    return [this] { return now_; };
  }
  void Ticks(ProgressLine& line, int count) {
    for (int i = 0; i < count; ++i) line.Tick();
  }

  std::FILE* stream_ = nullptr;
  ProgressLine::Clock::time_point now_{};
};

TEST_F(ProgressLineTest, NothingUntilTheDelayHasPassed) {
  ProgressLine line(stream_, true, milliseconds(1000), 80, Clock());
  line.Start(1, 3, "a.txt");
  Ticks(line, 5000);
  now_ += milliseconds(999);
  line.Start(2, 3, "b.txt");
  Ticks(line, 5000);
  EXPECT_EQ(Written(), "");
  EXPECT_FALSE(line.shown());

  // The delay passes in the middle of a long file: the line appears there.
  now_ += milliseconds(1);
  Ticks(line, 1000);
  EXPECT_EQ(Written(), "\r[2/3] b.txt");
  EXPECT_TRUE(line.shown());
  // Once shown, the next item redraws at once, covering the longer line before.
  line.Start(3, 3, "c");
  EXPECT_EQ(Written(), "\r[2/3] b.txt\r[3/3] c    ");
}

TEST_F(ProgressLineTest, ClearBlanksTheLineAndTheNextItemDrawsAgain) {
  ProgressLine line(stream_, true, milliseconds(0), 80, Clock());
  line.Start(1, 2, "a.txt");
  line.Clear();
  line.Clear();  // nothing shown: nothing written
  EXPECT_FALSE(line.shown());
  line.Start(2, 2, "b");
  EXPECT_EQ(Written(), "\r[1/2] a.txt\r           \r\r[2/2] b");
}

TEST_F(ProgressLineTest, DestructionClearsTheLine) {
  {
    ProgressLine line(stream_, true, milliseconds(0), 80, Clock());
    line.Start(1, 1, "x");
  }
  EXPECT_EQ(Written(), "\r[1/1] x\r       \r");
}

TEST_F(ProgressLineTest, DisabledDrawsNothing) {
  {
    ProgressLine line(stream_, false, milliseconds(0), 80, Clock());
    line.Start(1, 2, "a.txt");
    Ticks(line, 1000);
    line.Clear();
    EXPECT_FALSE(line.shown());
  }
  EXPECT_EQ(Written(), "");
}

TEST_F(ProgressLineTest, LongNamesAreCutToTheTerminal) {
  struct {
    const char* name;
    int width;
    std::string file;
    std::string drawn;
  } cases[] = {
      {"fits", 12, "abcd", "\r[1/1] abcd"},
      {"cut to width - 1", 10, "abcdefgh", "\r[1/1] abc"},
      {"never inside a UTF-8 character", 11, "ab\xE6\x97\xA5", "\r[1/1] ab"},
      {"unknown width is 80", 0, std::string(100, 'x'), "\r[1/1] " + std::string(73, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::fclose(stream_);
    stream_ = std::tmpfile();
    ProgressLine line(stream_, true, milliseconds(0), c.width, Clock());
    line.Start(1, 1, c.file);
    EXPECT_EQ(Written(), c.drawn);
  }
}

}  // namespace
}  // namespace vintrel::cli
