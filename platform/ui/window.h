#ifndef VINTREL_PLATFORM_UI_WINDOW_H_
#define VINTREL_PLATFORM_UI_WINDOW_H_

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

#include "platform/ui/data_exchange.h"
#include "platform/ui/message_map.h"
#include "platform/ui/resources.h"

namespace vintrel::ui {

// The property that marks the template's default push button (true); Enter in a form
// presses the button that carries it.
inline constexpr char kDefaultButtonProperty[] = "defaultButton";

// A window built from a dialog template: the common half of Dialog and FormView. The
// object owns its Qt widget (made by the subclass, filled here) and the widget owns its
// controls. Every control widget carries the object name "id<ID>" (e.g. "id106"; controls
// without an id: "static<INDEX>", INDEX its position in the template) and its id in the
// property "ctrlId", so code and tests can find it either way.
//
// Notifications of the controls reach the class's message table (GetMessageMap); none is
// delivered while the window runs a data exchange (UpdateData).
class Window : public CommandTarget {
 public:
  explicit Window(int template_id);
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  int template_id() const { return template_id_; }
  const DialogTemplate* dialog_template() const { return template_; }

  // The window's widget; null before it is made and after it is gone.
  QWidget* widget() const { return widget_; }

  // The control ID of this window; null when there is none.
  QWidget* GetDlgItem(int id) const;

  // Runs DoDataExchange: SAVE_AND_VALIDATE true takes the controls' values into the
  // members, false shows the members in the controls. Returns true (there is no
  // validation that could fail). Does nothing but return false without a widget.
  bool UpdateData(bool save_and_validate = true);

  // True while UpdateData runs.
  bool IsTransferringData() const { return transfer_depth_ > 0; }

  // Accepts files dropped on the window (from a file manager, text/uri-list) and hands
  // their full local paths to OnDropFiles; false stops accepting them.
  void DragAcceptFiles(bool accept = true);

  // Centres the top-level window holding this window on its screen (CenterOnScreen).
  void CenterWindow();

  // Files dropped on the window, as full local paths in the order the drop lists them,
  // exact bytes and without any length limit. The default does nothing.
  virtual void OnDropFiles(std::vector<std::string> paths);

  // A control of this window reported CODE. Routes it to the message table unless a data
  // exchange runs. Public so the platform layer can deliver notifications; subclasses may
  // add defaults (Dialog: OK and Cancel buttons).
  virtual void OnControlNotify(Notify code, int id);

 protected:
  // Binds members and controls (DDX_ functions), in the class's order. Default: nothing.
  virtual void DoDataExchange(DataExchange* dx);

  // Fills WIDGET (made by the subclass, taken over by this object) with the template's
  // controls: geometry in dialog units, font, texts, styles, ids, Tab order, colours, and
  // the wiring of the controls' notifications. False when the template is missing.
  bool BuildFromTemplate(QWidget* widget);

  // Deletes the widget (when it still exists) and forgets it.
  void DestroyWidget();

 private:
  friend class TransferScope;
  int template_id_;
  const DialogTemplate* template_ = nullptr;
  QPointer<QWidget> widget_;
  int transfer_depth_ = 0;
  bool accept_files_ = false;
  class DropFilter;
  DropFilter* drop_filter_ = nullptr;  // owned by widget_
};

// Moves the top-level window WIDGET so that it sits in the middle of its screen (the
// primary screen when it has none): left = (screen width - window width) / 2, top =
// (screen height - window height) / 2, each truncated toward zero, measured with the
// window frame; the size stays.
void CenterOnScreen(QWidget* widget);

// Background and text colours of dialogs, forms and message boxes (labels, check boxes,
// the window background). Until set, Qt's palette is used.
void SetDialogColors(const QColor& background, const QColor& text);

// Gives WIDGET the colours of SetDialogColors (nothing until they are set).
void ApplyDialogColors(QWidget* widget);

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_WINDOW_H_
