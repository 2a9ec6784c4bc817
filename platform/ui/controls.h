#ifndef VINTREL_PLATFORM_UI_CONTROLS_H_
#define VINTREL_PLATFORM_UI_CONTROLS_H_

#include <QPointer>
#include <QWidget>

#include <string>
#include <string_view>

namespace vintrel::ui {

// Control objects: members of a dialog or form class that give access to one control of
// the window, addressed by its id. A control object is bound to its widget by DDX_Control
// (data_exchange.h) or Attach(); it does not own the widget (the window does), and it
// becomes unbound when the widget goes. Calls on an unbound object do nothing and return
// -1, 0 or an empty text.
//
// Texts are UTF-8 bytes. A text set by the program comes back byte for byte as long as the
// user has not changed it, also when it is not valid UTF-8 (it is shown with replacement
// characters); list entries keep their exact bytes as item data.

// Index result of list operations that found nothing or failed.
inline constexpr int kListError = -1;

// A control of any kind.
class Control {
 public:
  Control() = default;
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Binds the object to WIDGET (which must be of this control's kind); null unbinds.
  void Attach(QWidget* widget) { widget_ = widget; }
  QWidget* widget() const { return widget_; }
  bool IsBound() const { return widget_ != nullptr; }

  // The control's id (from the template), or -1.
  int GetDlgCtrlID() const;

  void EnableWindow(bool enable = true);
  bool IsWindowEnabled() const;

  // The text the control shows: a label's or button's text, an edit's or combo box's
  // editable text. Setting an edit's text reports Notify::kChange, as typing does.
  void SetWindowText(std::string_view text);
  std::string GetWindowText() const;

  void SetFocus();

 protected:
  QPointer<QWidget> widget_;
};

// A text label (status lines and captions).
class Static : public Control {};

// A push button or check box.
class Button : public Control {
 public:
  // Check state of a check box: 1 checked, 0 not.
  int GetCheck() const;
  void SetCheck(int check);
};

// A single-line edit box.
class Edit : public Control {};

// A list box. A list whose template has kStyleSort keeps its entries in the order of
// CompareListText (list_order.h): case-insensitive and locale-aware, whatever the order of
// adding; an unsorted list appends.
class ListBox : public Control {
 public:
  ~ListBox() override;

  // Adds TEXT (sorted position or the end). Returns its index.
  int AddString(std::string_view text);
  // Deletes entry INDEX. Returns the number of entries left, or kListError.
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  // The selected entry's index, or kListError when none is selected.
  int GetCurSel() const;
  // Selects entry INDEX; -1 clears the selection. Returns INDEX, or kListError when INDEX
  // is out of range (the selection is then cleared, -1 included).
  int SetCurSel(int index);
  // The exact bytes of entry INDEX; empty when INDEX is out of range.
  std::string GetText(int index) const;
  // The index of the first entry after START_AFTER (-1: from the start, wrapping round)
  // that equals TEXT without regard to case; kListError when there is none.
  int FindStringExact(int start_after, std::string_view text) const;

  // Makes a hidden list box of its own, a child of PARENT (sorted or not), and binds the
  // object to it. It lives until DestroyWindow(), the object's end or PARENT's end.
  bool Create(QWidget* parent, bool sorted);
  void DestroyWindow();

 private:
  bool owns_widget_ = false;
};

// A drop-down combo box with editable text and a list.
class ComboBox : public Control {
 public:
  int AddString(std::string_view text);
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index);
  // The exact bytes of list entry INDEX; empty when INDEX is out of range.
  std::string GetLBText(int index) const;
  int FindStringExact(int start_after, std::string_view text) const;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_CONTROLS_H_
