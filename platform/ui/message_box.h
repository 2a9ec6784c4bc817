#ifndef VINTREL_PLATFORM_UI_MESSAGE_BOX_H_
#define VINTREL_PLATFORM_UI_MESSAGE_BOX_H_

#include <QWidget>

#include <string>
#include <string_view>
#include <vector>

namespace vintrel::ui {

// Every message box and beep of the program goes through these two functions, so that
// tests can answer them (ScopedMessageBoxCapture).

// Shows TEXT (UTF-8) in a modal message box owned by OWNER's window (null: the main frame),
// captioned with the application title (string 57344), an OK button only, no icon. Returns
// when the user has pressed OK, with IDOK (1).
int MessageBox(QWidget* owner, std::string_view text);

// The standard beep (QApplication::beep()).
void Beep();

// While an object of this class lives, MessageBox and Beep show and sound nothing: each
// is recorded and answered at once (MessageBox returns IDOK). Captures nest; the innermost
// records. Use on the user-interface thread only.
class ScopedMessageBoxCapture {
 public:
  struct Event {
    bool beep = false;         // true: a beep; false: a message box
    std::string text;          // the message box's text
    QWidget* owner = nullptr;  // the owner passed to MessageBox
  };

  ScopedMessageBoxCapture();
  ~ScopedMessageBoxCapture();
  ScopedMessageBoxCapture(const ScopedMessageBoxCapture&) = delete;
  ScopedMessageBoxCapture& operator=(const ScopedMessageBoxCapture&) = delete;

  // Beeps and boxes in the order they came.
  const std::vector<Event>& events() const { return events_; }
  // The message box texts in order.
  std::vector<std::string> texts() const;
  int beeps() const;
  void Clear() { events_.clear(); }

  // Records one event (called by MessageBox and Beep).
  void Record(Event event) { events_.push_back(std::move(event)); }

 private:
  std::vector<Event> events_;
  ScopedMessageBoxCapture* outer_;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_MESSAGE_BOX_H_
