#include "platform/ui/window.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <optional>

#include "platform/ui/control_text.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/dropped_files.h"

namespace vintrel::ui {
namespace {

std::optional<std::pair<QColor, QColor>>& DialogColors() {
  static std::optional<std::pair<QColor, QColor>> colors;
  return colors;
}

// A combo box that reports when its drop-down list closes.
class TemplateComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> on_close_up;
  void hidePopup() override {
    bool was_shown = view() != nullptr && view()->isVisible();
    QComboBox::hidePopup();
    if (was_shown && on_close_up) on_close_up();
  }
};

QString ObjectNameFor(const ControlTemplate& control, int index) {
  return control.id == -1 ? QStringLiteral("static%1").arg(index)
                          : QStringLiteral("id%1").arg(control.id);
}

// The text of the label that names CONTROL for a screen reader: the nearest label just
// above it or on its left (for an edit box also a unit label on its right). Empty when there
// is none.
std::string LabelOf(const DialogTemplate& dialog, const ControlTemplate& control) {
  constexpr int kMostGap = 20;      // dialog units between label and control
  constexpr int kRightPenalty = 8;  // a label on the left or above wins over one on the right
  // A combo box's template height holds its drop-down list; its field is one line high.
  const int cy = control.kind == ControlKind::kComboBox ? std::min(control.cy, 14) : control.cy;
  const ControlTemplate* best = nullptr;
  int best_gap = 0;
  for (const ControlTemplate& label : dialog.controls) {
    if (label.kind != ControlKind::kStatic || label.text.empty()) continue;
    bool columns_meet = label.x < control.x + control.cx && control.x < label.x + label.cx;
    bool rows_meet = label.y < control.y + cy && control.y < label.y + label.cy;
    int gap = -1;
    if (columns_meet && label.y + label.cy <= control.y) {
      gap = control.y - (label.y + label.cy);
    } else if (rows_meet && label.x + label.cx <= control.x) {
      gap = control.x - (label.x + label.cx);
    } else if (control.kind == ControlKind::kEdit && rows_meet &&
               label.x >= control.x + control.cx) {
      gap = label.x - (control.x + control.cx) + kRightPenalty;
    }
    if (gap < 0 || gap > kMostGap) continue;
    if (best == nullptr || gap < best_gap) {
      best = &label;
      best_gap = gap;
    }
  }
  return best == nullptr ? std::string() : best->text;
}

std::vector<std::string> DroppedPaths(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasFormat("text/uri-list")) return {};
  QByteArray bytes = mime->data("text/uri-list");
  return LocalPathsFromUriList(std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace

// Takes files dropped on the window and hands them on once the drop has finished.
class Window::DropFilter : public QObject {
 public:
  DropFilter(Window* owner, QObject* parent) : QObject(parent), owner_(owner) {}
  Window* owner_;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (DroppedPaths(drag->mimeData()).empty()) return false;
        drag->acceptProposedAction();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        std::vector<std::string> paths = DroppedPaths(drop->mimeData());
        if (paths.empty()) return false;
        drop->acceptProposedAction();
        // The handler may run for long (a conversion): let the drop finish first.
        Window* owner = owner_;
        QTimer::singleShot(0, this, [owner, paths = std::move(paths)]() mutable {
          owner->OnDropFiles(std::move(paths));
        });
        return true;
      }
      default:
        return QObject::eventFilter(watched, event);
    }
  }
};

// Marks a data exchange in progress for its lifetime.
class TransferScope {
 public:
  explicit TransferScope(Window* window) : window_(window) { ++window_->transfer_depth_; }
  ~TransferScope() { --window_->transfer_depth_; }
  TransferScope(const TransferScope&) = delete;
  TransferScope& operator=(const TransferScope&) = delete;

 private:
  Window* window_;
};

Window::Window(int template_id) : template_id_(template_id) {}

Window::~Window() { DestroyWidget(); }

QWidget* Window::GetDlgItem(int id) const {
  if (widget_ == nullptr) return nullptr;
  return widget_->findChild<QWidget*>(QStringLiteral("id%1").arg(id), Qt::FindDirectChildrenOnly);
}

bool Window::UpdateData(bool save_and_validate) {
  if (widget_ == nullptr) return false;
  TransferScope scope(this);
  DataExchange dx(this, save_and_validate);
  DoDataExchange(&dx);
  return true;
}

void Window::DragAcceptFiles(bool accept) {
  accept_files_ = accept;
  if (widget_ == nullptr) return;
  if (accept && drop_filter_ == nullptr) {
    drop_filter_ = new DropFilter(this, widget_);
    widget_->installEventFilter(drop_filter_);
  }
  widget_->setAcceptDrops(accept);
  // Text fields would take a drop as text: let files reach the window instead.
  for (QLineEdit* edit : widget_->findChildren<QLineEdit*>()) edit->setAcceptDrops(!accept);
}

void Window::CenterWindow() {
  if (widget_ != nullptr) CenterOnScreen(widget_->window());
}

void Window::OnDropFiles(std::vector<std::string> /*paths*/) {}

void Window::OnControlNotify(Notify code, int id) {
  if (IsTransferringData()) return;
  OnCmdMsg(code, id);
}

void Window::DoDataExchange(DataExchange* /*dx*/) {}

bool Window::BuildFromTemplate(QWidget* widget) {
  DestroyWidget();
  widget_ = widget;
  template_ = LoadDialogTemplate(template_id_);
  if (template_ == nullptr) return false;
  const DialogTemplate& dialog = *template_;

  widget->setFont(DialogFont(dialog.font_points));
  ApplyDialogColors(widget);
  widget->setFixedSize(DialogUnitsToPixelsX(dialog.cx), DialogUnitsToPixelsY(dialog.cy));
  if (!dialog.child) widget->setWindowTitle(internal::ToQString(dialog.caption));

  QWidget* previous_tab_stop = nullptr;
  int index = 0;
  for (const ControlTemplate& control : dialog.controls) {
    QWidget* made = nullptr;
    const int id = control.id;
    const QString text = internal::ToQString(control.text);
    QRect rect = DialogUnitsToPixels(control.x, control.y, control.cx, control.cy);
    switch (control.kind) {
      case ControlKind::kPushButton:
      case ControlKind::kDefPushButton: {
        auto* button = new QPushButton(text, widget);
        button->setAutoDefault(true);
        if (control.kind == ControlKind::kDefPushButton) {
          button->setDefault(true);
          // Outside a dialog Qt takes the default state from a button that loses the
          // focus; the template's default button stays the one Enter presses.
          button->setProperty(kDefaultButtonProperty, true);
        }
        QObject::connect(button, &QPushButton::clicked, widget,
                         [this, id] { OnControlNotify(Notify::kClicked, id); });
        made = button;
        break;
      }
      case ControlKind::kCheckBox: {
        auto* box = new QCheckBox(text, widget);
        QObject::connect(box, &QCheckBox::clicked, widget,
                         [this, id] { OnControlNotify(Notify::kClicked, id); });
        made = box;
        break;
      }
      case ControlKind::kGroupBox:
        made = new QGroupBox(text, widget);
        break;
      case ControlKind::kEdit: {
        auto* edit = new QLineEdit(widget);
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setFrame((control.style & kStyleBorder) != 0);
        QObject::connect(edit, &QLineEdit::textChanged, widget,
                         [this, id] { OnControlNotify(Notify::kChange, id); });
        made = edit;
        break;
      }
      case ControlKind::kListBox: {
        auto* list = new QListWidget(widget);
        list->setProperty("vintrelSorted", (control.style & kStyleSort) != 0);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setUniformItemSizes(true);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(
            (control.style & kStyleVScroll) != 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        if ((control.style & kStyleBorder) == 0) list->setFrameShape(QFrame::NoFrame);
        if ((control.style & kStyleNotify) != 0) {
          QObject::connect(list, &QListWidget::itemDoubleClicked, widget,
                           [this, id] { OnControlNotify(Notify::kDoubleClicked, id); });
          QObject::connect(list, &QListWidget::itemSelectionChanged, widget,
                           [this, id] { OnControlNotify(Notify::kSelChange, id); });
        }
        made = list;
        break;
      }
      case ControlKind::kComboBox: {
        auto* combo = new TemplateComboBox(widget);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setDuplicatesEnabled(true);
        combo->setCompleter(nullptr);
        combo->setProperty("vintrelSorted", (control.style & kStyleSort) != 0);
        combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
        // The template height includes the drop-down list.
        int edit_height = combo->sizeHint().height();
        int row_height = std::max(1, combo->fontMetrics().height() + 2);
        combo->setMaxVisibleItems(std::max(1, (rect.height() - edit_height) / row_height));
        rect.setHeight(edit_height);
        combo->on_close_up = [this, id] { OnControlNotify(Notify::kCloseUp, id); };
        QObject::connect(combo, qOverload<int>(&QComboBox::activated), widget,
                         [this, id] { OnControlNotify(Notify::kSelChange, id); });
        QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, widget, [this, id] {
          OnControlNotify(Notify::kEditUpdate, id);
          OnControlNotify(Notify::kEditChange, id);
        });
        made = combo;
        break;
      }
      case ControlKind::kStatic: {
        auto* label = new QLabel(widget);
        label->setTextFormat(Qt::PlainText);
        label->setText(text);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignTop | ((control.style & kStyleCenter) != 0 ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft));
        made = label;
        break;
      }
      case ControlKind::kIcon: {
        auto* label = new QLabel(widget);
        constexpr int kIconSize = 32;
        label->setPixmap(LoadIcon(control.icon).pixmap(kIconSize, kIconSize));
        rect.setSize(QSize(kIconSize, kIconSize));
        made = label;
        break;
      }
    }
    if (control.text.empty() && control.kind != ControlKind::kIcon) {
      std::string label = LabelOf(dialog, control);
      if (!label.empty()) made->setAccessibleName(internal::ToQString(label).simplified());
    }
    made->setObjectName(ObjectNameFor(control, index));
    made->setProperty("ctrlId", id);
    made->setGeometry(rect);
    if ((control.style & kStyleDisabled) != 0) made->setEnabled(false);
    if ((control.style & kStyleTabStop) != 0) {
      made->setFocusPolicy(Qt::StrongFocus);
      if (previous_tab_stop != nullptr) QWidget::setTabOrder(previous_tab_stop, made);
      previous_tab_stop = made;
    } else {
      made->setFocusPolicy(Qt::NoFocus);
    }
    ++index;
  }
  if (accept_files_) DragAcceptFiles(true);
  return true;
}

void Window::DestroyWidget() {
  drop_filter_ = nullptr;
  if (widget_ != nullptr) {
    QWidget* widget = widget_;
    widget_ = nullptr;
    delete widget;
  }
}

void CenterOnScreen(QWidget* widget) {
  if (widget == nullptr) return;
  QScreen* screen = widget->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect area = screen->geometry();
  QSize size = widget->frameGeometry().size();
  // Integer division truncates toward zero, also for a window larger than the screen.
  int left = area.x() + (area.width() - size.width()) / 2;
  int top = area.y() + (area.height() - size.height()) / 2;
  widget->move(left, top);
  widget->update();
}

void SetDialogColors(const QColor& background, const QColor& text) {
  DialogColors() = std::make_pair(background, text);
}

void ApplyDialogColors(QWidget* widget) {
  const auto& colors = DialogColors();
  if (widget == nullptr || !colors) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colors->first);
  palette.setColor(QPalette::WindowText, colors->second);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

}  // namespace vintrel::ui
