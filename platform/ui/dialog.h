#ifndef VINTREL_PLATFORM_UI_DIALOG_H_
#define VINTREL_PLATFORM_UI_DIALOG_H_

#include <QDialog>

#include "platform/ui/window.h"

namespace vintrel::ui {

// Results of a modal dialog (and the ids of its OK and Cancel buttons).
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// A modal dialog on a dialog template. Typical use, as a local object:
//
//   COptionDialog dialog;          // no owner: the main frame owns it
//   if (dialog.DoModal() == ui::IDOK) ...
//
// DoModal makes the window, runs OnInitDialog, shows it modally and returns EndDialog's
// result; the window is gone afterwards (members keep their values). Button 1 (OK) runs
// OnOK and button 2 (Cancel), Esc and the close box run OnCancel, unless the message table
// binds button 1 or 2 itself. Enter presses the default push button.
class Dialog : public Window {
 public:
  // PARENT owns the dialog window; null means the application's main frame (or none).
  explicit Dialog(int template_id, QWidget* parent = nullptr);
  ~Dialog() override;

  // Shows the dialog modally until EndDialog. Returns EndDialog's value, or -1 when the
  // template is missing.
  int DoModal();

  // Makes the dialog window and runs OnInitDialog without showing it or running a modal
  // loop (for tests and for code that shows it itself). False when the template is missing.
  bool Create();

  // Ends the dialog with RESULT: a modal loop returns it; the window goes.
  void EndDialog(int result);

  // The dialog window; null when not made.
  QDialog* dialog() const;

  // The result EndDialog was last given (0 before).
  int result() const { return result_; }

  // Runs once the window and its controls exist, before it is shown. The default shows the
  // members (UpdateData(false)) and returns true.
  virtual bool OnInitDialog();
  // OK: default takes the controls' values (UpdateData(true)) and ends with IDOK.
  virtual void OnOK();
  // Cancel, Esc, the close box: default ends with IDCANCEL.
  virtual void OnCancel();

  void OnControlNotify(Notify code, int id) override;

 private:
  bool MakeWindow();
  QWidget* parent_;
  int result_ = 0;
  bool ended_ = false;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_DIALOG_H_
