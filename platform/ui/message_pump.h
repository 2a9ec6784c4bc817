#ifndef VINTREL_PLATFORM_UI_MESSAGE_PUMP_H_
#define VINTREL_PLATFORM_UI_MESSAGE_PUMP_H_

namespace vintrel::ui {

// Lets the user-interface thread handle what is waiting (input, repaints, timers, close
// requests) in the middle of a long piece of work on that thread. Meant to be called very
// often (once per converted line): most calls only count down, every 16th reads a coarse
// clock, and Qt's pending events are processed at most once every few milliseconds.
// Handlers of the program's windows may run inside the call. Must be called on the
// user-interface thread.
void PumpMessage();

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_MESSAGE_PUMP_H_
