#ifndef VINTREL_CLI_INTERRUPT_SIGNALS_H_
#define VINTREL_CLI_INTERRUPT_SIGNALS_H_

namespace vintrel::cli {

// While an object of this class lives, SIGINT, SIGTERM and SIGHUP do not end the process
// at once: the signal is noted, the work looks at received() at safe points, tidies up
// (removes an incomplete output) and then calls Resend(), so that the process still ends
// the way the signal says. A signal the process ignored before (as under nohup) stays
// ignored. At most one object at a time; not for use with threads.
class ScopedInterruptSignals {
 public:
  ScopedInterruptSignals();
  ~ScopedInterruptSignals();  // Puts the earlier actions back.

  ScopedInterruptSignals(const ScopedInterruptSignals&) = delete;
  ScopedInterruptSignals& operator=(const ScopedInterruptSignals&) = delete;

  // The first signal received since construction, or 0.
  int received() const;

  // Puts the earlier actions back and sends the received signal to the process again;
  // under the default action the process ends there. Does nothing when none was received.
  void Resend();
};

}  // namespace vintrel::cli

#endif  // VINTREL_CLI_INTERRUPT_SIGNALS_H_
