#include "platform/ui/form_view.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/ui/frame_window.h"

namespace vintrel::ui {
namespace {

// The form's widget. Enter pressed in any of its controls other than a push button presses
// the form's default push button, as in a dialog.
class FormWidget : public QWidget {
 public:
  using QWidget::QWidget;

  void WatchControls() {
    for (QWidget* child : findChildren<QWidget*>()) {
      if (qobject_cast<QAbstractButton*>(child) == nullptr) child->installEventFilter(this);
    }
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
          key->modifiers() == Qt::NoModifier) {
        if (QPushButton* button = DefaultButton()) {
          if (button->isEnabled() && button->isVisible()) button->click();
          return true;
        }
      }
    }
    return QWidget::eventFilter(watched, event);
  }

 private:
  QPushButton* DefaultButton() const {
    for (QPushButton* button : findChildren<QPushButton*>(Qt::FindDirectChildrenOnly)) {
      if (button->property(kDefaultButtonProperty).toBool()) return button;
    }
    return nullptr;
  }
};

}  // namespace

FormView::FormView(int template_id) : Window(template_id) {}

FormView::~FormView() = default;

bool FormView::Create(FrameWindow* frame) {
  frame_ = frame;
  auto* form = new FormWidget(frame != nullptr ? frame->widget() : nullptr);
  if (!BuildFromTemplate(form)) {
    DestroyWidget();
    return false;
  }
  form->WatchControls();
  if (frame != nullptr && frame->widget() != nullptr) frame->widget()->setCentralWidget(form);
  return true;
}

void FormView::OnInitialUpdate() { UpdateData(false); }

void FormView::ResizeParentToFit(bool shrink_only) {
  if (frame_ == nullptr || frame_->widget() == nullptr || widget() == nullptr) return;
  QMainWindow* window = frame_->widget();
  // The frame's client area: the menu bar above the form.
  QSize wanted = widget()->size();
  if (QWidget* menu = window->menuWidget()) {
    int menu_height = menu->heightForWidth(wanted.width());
    if (menu_height < 0) menu_height = menu->sizeHint().height();
    wanted.rheight() += menu_height;
  }
  if (shrink_only) wanted = wanted.boundedTo(window->size());
  if ((frame_->style() & kStyleThickFrame) == 0) {
    window->setFixedSize(wanted);
  } else {
    window->resize(wanted);
  }
  frame_->RecalcLayout();
}

bool FormView::CanCloseFrame() { return true; }

}  // namespace vintrel::ui
