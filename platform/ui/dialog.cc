#include "platform/ui/dialog.h"

#include "platform/ui/application.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/frame_window.h"

namespace vintrel::ui {
namespace {

// The dialog window: Esc and the close box go to the dialog's OnCancel, which may keep it
// open.
class DialogWidget : public QDialog {
 public:
  DialogWidget(Dialog* owner, QWidget* parent) : QDialog(parent), owner_(owner) {}

  void reject() override { owner_->OnCancel(); }

 private:
  Dialog* owner_;
};

}  // namespace

Dialog::Dialog(int template_id, QWidget* parent) : Window(template_id), parent_(parent) {}

Dialog::~Dialog() = default;

bool Dialog::MakeWindow() {
  QWidget* parent = parent_;
  if (parent == nullptr) {
    Application* app = GetApp();
    if (app != nullptr && app->GetMainWnd() != nullptr) parent = app->GetMainWnd()->widget();
  }
  auto* dialog = new DialogWidget(this, parent);
  dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  dialog->setModal(true);
  dialog->setSizeGripEnabled(false);
  if (!BuildFromTemplate(dialog)) {
    DestroyWidget();
    return false;
  }
  if (const DialogTemplate* t = dialog_template()) {
    dialog->move(DialogUnitsToPixelsX(t->x), DialogUnitsToPixelsY(t->y));
  }
  result_ = 0;
  ended_ = false;
  return true;
}

int Dialog::DoModal() {
  if (!MakeWindow()) return -1;
  OnInitDialog();
  // OnInitDialog may already have ended the dialog.
  if (!ended_ && dialog() != nullptr) dialog()->exec();
  int result = result_;
  DestroyWidget();
  return result;
}

bool Dialog::Create() {
  if (!MakeWindow()) return false;
  OnInitDialog();
  return true;
}

void Dialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  if (QDialog* window = dialog()) window->done(result);
}

QDialog* Dialog::dialog() const { return qobject_cast<QDialog*>(widget()); }

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (!UpdateData(true)) return;
  EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::OnControlNotify(Notify code, int id) {
  if (IsTransferringData()) return;
  if (OnCmdMsg(code, id)) return;
  if (code == Notify::kClicked && id == IDOK) {
    OnOK();
  } else if (code == Notify::kClicked && id == IDCANCEL) {
    OnCancel();
  }
}

}  // namespace vintrel::ui
