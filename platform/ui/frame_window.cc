#include "platform/ui/frame_window.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>

#include "platform/ui/application.h"
#include "platform/ui/control_text.h"
#include "platform/ui/document.h"
#include "platform/ui/form_view.h"
#include "platform/ui/resources.h"

namespace vintrel::ui {
namespace {

constexpr char kGrayedProperty[] = "vintrelGrayed";

int CommandIdOf(const QAction* action) {
  QVariant id = action->property("commandId");
  return id.isValid() ? id.toInt() : 0;
}

QString ItemName(int id) { return QStringLiteral("id%1").arg(id); }

}  // namespace

// The frame's window: closing asks the frame first.
class FrameWindow::Widget : public QMainWindow {
 public:
  explicit Widget(FrameWindow* owner) : owner_(owner) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (owner_->OnClose()) {
      event->accept();
    } else {
      event->ignore();
    }
  }

 private:
  FrameWindow* owner_;
};

FrameWindow::FrameWindow() = default;

FrameWindow::~FrameWindow() {
  view_.reset();
  delete widget_.data();
}

bool FrameWindow::LoadFrame(int resource_id, unsigned style) {
  if (widget_ != nullptr) return false;
  style_ = style;
  auto* window = new Widget(this);
  widget_ = window;
  window->setObjectName(QStringLiteral("frame%1").arg(resource_id));

  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if ((style & kStyleSysMenu) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if ((style & kStyleMinimizeBox) != 0) flags |= Qt::WindowMinimizeButtonHint;
  if ((style & kStyleMaximizeBox) != 0) flags |= Qt::WindowMaximizeButtonHint;
  window->setWindowFlags(flags);

  // The title is the first part of the resource's string.
  std::string title = LoadString(resource_id);
  title = title.substr(0, title.find('\n'));
  window->setWindowTitle(internal::ToQString(title));
  QIcon icon = LoadIcon(resource_id);
  if (!icon.isNull()) window->setWindowIcon(icon);

  BuildMenu(resource_id);
  for (const Accelerator& accelerator : LoadAcceleratorTable(resource_id)) {
    auto* shortcut = new QShortcut(accelerator.key, window);
    shortcut->setContext(Qt::WindowShortcut);
    int id = accelerator.id;
    QObject::connect(shortcut, &QShortcut::activated, window, [this, id] { OnCommand(id); });
  }
  // Alt+F4 closes the frame, also where no window manager provides it.
  auto* close_key = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), window);
  close_key->setContext(Qt::WindowShortcut);
  QObject::connect(close_key, &QShortcut::activated, window, [window] { window->close(); });
  UpdateMenuState();
  return true;
}

void FrameWindow::BuildMenu(int resource_id) {
  const std::vector<MenuItem>& items = LoadMenuTemplate(resource_id);
  if (items.empty()) return;
  QMenuBar* bar = widget_->menuBar();
  auto add_command = [this](const MenuItem& item, auto add) {
    QAction* action = add(internal::ToQString(item.text));
    action->setObjectName(ItemName(item.id));
    action->setProperty("commandId", item.id);
    action->setProperty(kGrayedProperty, item.grayed);
    int id = item.id;
    QObject::connect(action, &QAction::triggered, widget_, [this, id] { OnCommand(id); });
    return action;
  };
  for (const MenuItem& top : items) {
    if (top.kind == MenuItem::kCommand) {
      add_command(top, [bar](const QString& text) { return bar->addAction(text); });
      continue;
    }
    if (top.kind != MenuItem::kPopup) continue;
    QMenu* menu = bar->addMenu(internal::ToQString(top.text));
    QObject::connect(menu, &QMenu::aboutToShow, widget_, [this] { UpdateMenuState(); });
    for (const MenuItem& item : top.items) {
      if (item.kind == MenuItem::kSeparator) {
        menu->addSeparator();
      } else if (item.kind == MenuItem::kCommand) {
        QAction* action =
            add_command(item, [menu](const QString& text) { return menu->addAction(text); });
        if (item.id == kIdFileMruFile1) {
          recent_menu_ = menu;
          recent_placeholder_ = action;
        }
      }
    }
  }
}

void FrameWindow::BuildRecentFileItems() {
  if (recent_menu_ == nullptr || recent_placeholder_ == nullptr) return;
  for (QPointer<QAction>& action : recent_items_) delete action.data();
  recent_items_.clear();
  Application* app = GetApp();
  const std::vector<std::string> none;
  const std::vector<std::string>& files = app != nullptr ? app->recent_files() : none;
  recent_placeholder_->setVisible(files.empty());
  // The entries take the placeholder's place, numbered for the keyboard.
  QAction* before = recent_placeholder_;
  const QList<QAction*> actions = recent_menu_->actions();
  int at = static_cast<int>(actions.indexOf(recent_placeholder_));
  if (at + 1 < actions.size()) before = actions[at + 1];
  for (size_t i = 0; i < files.size(); ++i) {
    int id = kIdFileMruFile1 + static_cast<int>(i);
    QString path = internal::ToQString(files[i]);
    path.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), recent_menu_);
    action->setObjectName(ItemName(id));
    action->setProperty("commandId", id);
    QObject::connect(action, &QAction::triggered, widget_, [this, id] { OnCommand(id); });
    recent_menu_->insertAction(before, action);
    recent_items_.push_back(action);
  }
}

void FrameWindow::SetActiveView(std::unique_ptr<FormView> view) {
  view_ = std::move(view);
  UpdateMenuState();
}

void FrameWindow::RecalcLayout(bool /*notify*/) {
  if (widget_ != nullptr && widget_->layout() != nullptr) widget_->layout()->activate();
}

void FrameWindow::ShowWindow() {
  if (widget_ == nullptr) return;
  UpdateMenuState();
  widget_->show();
  widget_->raise();
  widget_->activateWindow();
}

bool FrameWindow::OnCommand(int id) {
  if (!IsCommandEnabled(id)) return false;
  Application* app = GetApp();
  if (view_ != nullptr) {
    if (view_->OnCmdMsg(Notify::kCommand, id)) return true;
    if (Document* document = view_->GetDocument()) {
      if (document->OnCmdMsg(Notify::kCommand, id)) return true;
    }
  }
  if (OnCmdMsg(Notify::kCommand, id)) return true;
  return app != nullptr && app->OnCmdMsg(Notify::kCommand, id);
}

bool FrameWindow::IsCommandEnabled(int id) const {
  if (QAction* item = FindMenuItem(id)) {
    if (item->property(kGrayedProperty).toBool()) return false;
  }
  if (view_ != nullptr) {
    if (view_->HasHandler(Notify::kCommand, id)) return true;
    if (Document* document = view_->GetDocument()) {
      if (document->HasHandler(Notify::kCommand, id)) return true;
    }
  }
  if (HasHandler(Notify::kCommand, id)) return true;
  Application* app = GetApp();
  return app != nullptr && app->HasHandler(Notify::kCommand, id);
}

void FrameWindow::UpdateMenuState() {
  if (widget_ == nullptr) return;
  BuildRecentFileItems();
  for (QAction* action : widget_->findChildren<QAction*>()) {
    int id = CommandIdOf(action);
    if (id != 0) action->setEnabled(IsCommandEnabled(id));
  }
}

QAction* FrameWindow::FindMenuItem(int id) const {
  if (widget_ == nullptr) return nullptr;
  QAction* hidden = nullptr;
  for (QAction* action : widget_->findChildren<QAction*>(ItemName(id))) {
    if (action->isVisible()) return action;
    hidden = action;
  }
  return hidden;
}

void FrameWindow::PostClose() {
  if (widget_ == nullptr) return;
  QTimer::singleShot(0, widget_, [window = widget_.data()] { window->close(); });
}

bool FrameWindow::OnClose() { return view_ == nullptr || view_->CanCloseFrame(); }

}  // namespace vintrel::ui
