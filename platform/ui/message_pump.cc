#include "platform/ui/message_pump.h"

#include <time.h>

#include <QCoreApplication>

namespace vintrel::ui {
namespace {

// Events are processed at most once per this many milliseconds. The coarse clock ticks
// every few milliseconds and costs next to nothing to read.
constexpr long kPumpIntervalMs = 4;
// Calls that pass before the clock is read again.
constexpr unsigned kCallsPerClockRead = 16;

long NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace

void PumpMessage() {
  // Most calls only count down: the clock is read once per kCallsPerClockRead calls, a few
  // hundred kilobytes of text apart at most when called once per line.
  static unsigned calls_left = 1;
  if (--calls_left != 0) return;
  calls_left = kCallsPerClockRead;
  static long last_pump_ms = -kPumpIntervalMs;
  long now = NowMs();
  if (now - last_pump_ms < kPumpIntervalMs) return;
  last_pump_ms = now;
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

}  // namespace vintrel::ui
