#include "platform/ui/data_exchange.h"

#include <QAbstractButton>

#include "platform/ui/control_text.h"
#include "platform/ui/window.h"

namespace vintrel::ui {

void DDX_Control(DataExchange* dx, int id, Control& control) {
  QWidget* widget = dx->window()->GetDlgItem(id);
  if (control.widget() != widget) control.Attach(widget);
}

void DDX_Check(DataExchange* dx, int id, int& value) {
  auto* button = qobject_cast<QAbstractButton*>(dx->window()->GetDlgItem(id));
  if (button == nullptr) return;
  if (dx->save_and_validate()) {
    value = button->isChecked() ? 1 : 0;
  } else {
    button->setChecked(value != 0);
  }
}

void DDX_Text(DataExchange* dx, int id, std::string& value) {
  QWidget* widget = dx->window()->GetDlgItem(id);
  if (widget == nullptr) return;
  if (dx->save_and_validate()) {
    value = internal::ControlText(widget);
  } else {
    internal::SetControlText(widget, value);
  }
}

}  // namespace vintrel::ui
