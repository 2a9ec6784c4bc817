#include "cli/progress_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

namespace vintrel::cli {
namespace {

// Tick() looks at the clock once in this many calls.
constexpr unsigned kTicksPerLook = 256;

// TEXT cut to at most MAX bytes without splitting a UTF-8 character.
std::string_view CutToWidth(std::string_view text, size_t max) {
  if (text.size() <= max) return text;
  size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

ProgressLine::ProgressLine(std::FILE* stream, bool enabled, std::chrono::milliseconds delay,
                           int width, std::function<Clock::time_point()> now)
    : stream_(stream),
      enabled_(enabled),
      max_length_(static_cast<size_t>(width > 1 ? width - 1 : 79)),
      now_(std::move(now)) {
  if (enabled_) due_ = now_() + delay;
}

ProgressLine::~ProgressLine() { Clear(); }

void ProgressLine::Start(int position, int total, std::string_view name) {
  if (!enabled_) return;
  text_ = "[" + std::to_string(position) + "/" + std::to_string(total) + "] ";
  text_ += name;
  text_ = std::string(CutToWidth(text_, max_length_));
  ticks_ = 0;
  DrawIfDue();
}

void ProgressLine::Tick() {
  if (!enabled_ || shown_length_ > 0 || text_.empty()) return;
  if (++ticks_ < kTicksPerLook) return;
  ticks_ = 0;
  DrawIfDue();
}

void ProgressLine::Clear() {
  if (shown_length_ == 0) return;
  std::fputc('\r', stream_);
  for (size_t i = 0; i < shown_length_; ++i) std::fputc(' ', stream_);
  std::fputc('\r', stream_);
  std::fflush(stream_);
  shown_length_ = 0;
}

void ProgressLine::DrawIfDue() {
  if (text_.empty()) return;
  if (!due_passed_) {
    if (now_() < due_) return;
    due_passed_ = true;
  }
  // Blanks cover the rest of a longer line drawn before.
  std::string line = "\r" + text_;
  if (shown_length_ > text_.size()) line.append(shown_length_ - text_.size(), ' ');
  std::fputs(line.c_str(), stream_);
  std::fflush(stream_);
  shown_length_ = text_.size();
}

int TerminalWidth(int fd) {
  if (!isatty(fd)) return 0;
  struct winsize size {};
  if (ioctl(fd, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace vintrel::cli
