#include "cli/interrupt_signals.h"

#include <signal.h>

namespace vintrel::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

volatile sig_atomic_t g_received = 0;
struct sigaction g_earlier[kSignalCount];
bool g_installed[kSignalCount];

extern "C" void NoteSignal(int signal_number) {
  if (g_received == 0) g_received = signal_number;
}

void PutEarlierActionsBack() {
  for (int i = 0; i < kSignalCount; ++i) {
    if (g_installed[i]) sigaction(kSignals[i], &g_earlier[i], nullptr);
    g_installed[i] = false;
  }
}

}  // namespace

ScopedInterruptSignals::ScopedInterruptSignals() {
  g_received = 0;
  struct sigaction action {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < kSignalCount; ++i) {
    g_installed[i] = false;
    if (sigaction(kSignals[i], nullptr, &g_earlier[i]) != 0) continue;
    if (!(g_earlier[i].sa_flags & SA_SIGINFO) && g_earlier[i].sa_handler == SIG_IGN) continue;
    g_installed[i] = sigaction(kSignals[i], &action, nullptr) == 0;
  }
}

ScopedInterruptSignals::~ScopedInterruptSignals() { PutEarlierActionsBack(); }

int ScopedInterruptSignals::received() const { return g_received; }

void ScopedInterruptSignals::Resend() {
  const int signal_number = g_received;
  PutEarlierActionsBack();
  if (signal_number != 0) raise(signal_number);
}

}  // namespace vintrel::cli
