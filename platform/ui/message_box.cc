#include "platform/ui/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/application.h"
#include "platform/ui/control_text.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/frame_window.h"
#include "platform/ui/resources.h"
#include "platform/ui/window.h"

namespace vintrel::ui {
namespace {

ScopedMessageBoxCapture* current_capture = nullptr;

QWidget* OwnerWindow(QWidget* owner) {
  if (owner != nullptr) return owner->window();
  Application* app = GetApp();
  if (app != nullptr && app->GetMainWnd() != nullptr) return app->GetMainWnd()->widget();
  return nullptr;
}

}  // namespace

int MessageBox(QWidget* owner, std::string_view text) {
  if (current_capture != nullptr) {
    current_capture->Record({false, std::string(text), owner});
    return IDOK;
  }
  QMessageBox box(OwnerWindow(owner));
  box.setWindowTitle(internal::ToQString(AppTitle()));
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  box.setText(internal::ToQString(text));
  box.setStandardButtons(QMessageBox::Ok);
  box.setDefaultButton(QMessageBox::Ok);
  box.setEscapeButton(QMessageBox::Ok);
  box.button(QMessageBox::Ok)->setIcon(QIcon());
  box.setFont(DialogFont());
  ApplyDialogColors(&box);
  box.exec();
  return IDOK;
}

void Beep() {
  if (current_capture != nullptr) {
    current_capture->Record({true, std::string(), nullptr});
    return;
  }
  QApplication::beep();
}

ScopedMessageBoxCapture::ScopedMessageBoxCapture() : outer_(current_capture) {
  current_capture = this;
}

ScopedMessageBoxCapture::~ScopedMessageBoxCapture() { current_capture = outer_; }

std::vector<std::string> ScopedMessageBoxCapture::texts() const {
  std::vector<std::string> result;
  for (const Event& event : events_) {
    if (!event.beep) result.push_back(event.text);
  }
  return result;
}

int ScopedMessageBoxCapture::beeps() const {
  int count = 0;
  for (const Event& event : events_) count += event.beep ? 1 : 0;
  return count;
}

}  // namespace vintrel::ui
