#ifndef VINTREL_PLATFORM_UI_DATA_EXCHANGE_H_
#define VINTREL_PLATFORM_UI_DATA_EXCHANGE_H_

#include <string>

#include "platform/ui/controls.h"

namespace vintrel::ui {

class Window;

// One data exchange between a window's members and its controls, in one direction. A
// window's DoDataExchange(DataExchange* dx) calls the DDX_ functions below in order;
// Window::UpdateData runs it. While it runs, the window's controls report nothing to the
// window (so showing a member's text in an edit does not run the edit's change handler).
class DataExchange {
 public:
  DataExchange(Window* window, bool save_and_validate)
      : window_(window), save_and_validate_(save_and_validate) {}

  Window* window() const { return window_; }
  // True: controls to members (UpdateData(true)); false: members to controls.
  bool save_and_validate() const { return save_and_validate_; }

 private:
  Window* window_;
  bool save_and_validate_;
};

// Binds CONTROL to the window's control ID (in both directions; the first exchange binds).
// A missing id leaves CONTROL unbound.
void DDX_Control(DataExchange* dx, int id, Control& control);

// The check state of check box ID as an integer: 1 checked, 0 not. Towards the control,
// any value other than 0 and 1 shows as checked.
void DDX_Check(DataExchange* dx, int id, int& value);

// The text of control ID (edit, combo box text, label, button): towards the members the
// text exactly as it stands; towards the control VALUE is shown as it is.
void DDX_Text(DataExchange* dx, int id, std::string& value);

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_DATA_EXCHANGE_H_
