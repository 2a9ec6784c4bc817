#ifndef VINTREL_CLI_PROGRESS_LINE_H_
#define VINTREL_CLI_PROGRESS_LINE_H_

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace vintrel::cli {

// A progress display of one line on a terminal, "[3/120] pages/p003.txt", rewritten in
// place with a carriage return. It appears only once the work has lasted a while, so work
// that ends quickly shows nothing. Other output to the same stream must call Clear() first.
//
// Not thread-safe. Never throws except std::bad_alloc; write errors on the stream are left
// to whoever checks the stream.
class ProgressLine {
 public:
  using Clock = std::chrono::steady_clock;

  // STREAM is where the line is drawn; it is not owned and must outlive this object. When
  // ENABLED is false nothing is ever drawn. The line appears once DELAY has passed since
  // construction. WIDTH is the terminal's width in columns: a line is cut to WIDTH - 1
  // bytes (at a UTF-8 character boundary) so it never wraps; 0 or less means 80. NOW
  // tells the time (tests pass their own clock).
  ProgressLine(std::FILE* stream, bool enabled, std::chrono::milliseconds delay, int width,
               std::function<Clock::time_point()> now = Clock::now);
  ~ProgressLine();  // Clears the line.

  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // The work has reached item POSITION (counted from 1) of TOTAL, called NAME. Draws the
  // line when the delay has passed.
  void Start(int position, int total, std::string_view name);

  // Called often while an item is worked on (once per line of text): draws the line of
  // the current item as soon as the delay has passed. Looks at the clock only every few
  // hundred calls, so it costs next to nothing.
  void Tick();

  // Removes the line, if one is shown, and leaves the cursor at the start of the empty
  // line. The next Start() or Tick() draws it again.
  void Clear();

  // True while a line is shown.
  bool shown() const { return shown_length_ > 0; }

 private:
  void DrawIfDue();

  std::FILE* stream_;
  bool enabled_;
  Clock::time_point due_;
  size_t max_length_;
  std::function<Clock::time_point()> now_;
  bool due_passed_ = false;
  std::string text_;         // the line of the current item
  size_t shown_length_ = 0;  // bytes of the line now on the terminal
  unsigned ticks_ = 0;
};

// The width of the terminal on descriptor FD in columns; 0 when FD is no terminal or
// the width is unknown.
int TerminalWidth(int fd);

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_PROGRESS_LINE_H_
