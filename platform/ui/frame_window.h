#ifndef VINTREL_PLATFORM_UI_FRAME_WINDOW_H_
#define VINTREL_PLATFORM_UI_FRAME_WINDOW_H_

#include <QAction>
#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/message_map.h"

namespace vintrel::ui {

class FormView;

// Window styles of a frame (the bits LoadFrame takes).
enum FrameStyle : unsigned {
  kStyleMaximizeBox = 0x00010000,
  kStyleMinimizeBox = 0x00020000,
  kStyleThickFrame = 0x00040000,  // a sizing border: the user may resize the frame
  kStyleSysMenu = 0x00080000,     // a system menu and close box
  kStyleOverlappedWindow = 0x00CF0000,
};

// The main window: a title bar, the menu and accelerator table of a resource, and one form
// (its active view) filling it. Commands of menu items and accelerators are routed to the
// form, then its document, then the frame, then the application object; the first message
// table with an entry for the command (Notify::kCommand) handles it. A menu item whose
// command nobody handles, or that the resource grays, is disabled, and its accelerator does
// nothing. Closing the frame (Exit, the close box, Alt+F4) asks the form first
// (FormView::CanCloseFrame); afterwards the widget goes and, as the last window, ends the
// Qt event loop.
class FrameWindow : public CommandTarget {
 public:
  FrameWindow();
  ~FrameWindow() override;
  FrameWindow(const FrameWindow&) = delete;
  FrameWindow& operator=(const FrameWindow&) = delete;

  // Makes the frame window: title from the first part of string RESOURCE_ID (up to "\n"),
  // menu, accelerators and icon RESOURCE_ID, window decorations from STYLE (FrameStyle
  // bits: a minimise box, a maximise box and a sizing border only when asked for). Not
  // shown yet. False when it exists already.
  virtual bool LoadFrame(int resource_id, unsigned style = kStyleOverlappedWindow);

  QMainWindow* widget() const { return widget_; }
  unsigned style() const { return style_; }

  // Makes VIEW (already created in this frame) the frame's form; the frame owns it.
  void SetActiveView(std::unique_ptr<FormView> view);
  FormView* GetActiveView() const { return view_.get(); }

  // Lays the frame out around its form again.
  void RecalcLayout(bool notify = true);

  // Shows and activates the frame.
  void ShowWindow();

  // Sends command ID along the route above. False when nobody handles it or its menu item
  // is grayed.
  bool OnCommand(int id);
  // True when command ID has a handler on the route (and is not grayed in the menu).
  bool IsCommandEnabled(int id) const;

  // Enables and disables every menu item by IsCommandEnabled and rebuilds the recent-file
  // items. Runs whenever a menu opens.
  void UpdateMenuState();

  // The menu item of command ID (object name "id<ID>"); null when there is none.
  QAction* FindMenuItem(int id) const;

  // Closes the frame once control is back in the event loop, asking the form again.
  void PostClose();

 protected:
  // True when the frame may close now. Default: the form's CanCloseFrame().
  virtual bool OnClose();

 private:
  class Widget;
  friend class Widget;
  void BuildMenu(int resource_id);
  void BuildRecentFileItems();
  QPointer<QMainWindow> widget_;
  std::unique_ptr<FormView> view_;
  unsigned style_ = 0;
  QPointer<QMenu> recent_menu_;
  QPointer<QAction> recent_placeholder_;
  std::vector<QPointer<QAction>> recent_items_;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_FRAME_WINDOW_H_
