#ifndef VINTREL_APP_MAIN_FRAME_H_
#define VINTREL_APP_MAIN_FRAME_H_

#include "platform/ui/frame_window.h"

namespace vintrel {

// The main window around the form: fixed size (the form sets it), title "Vintrel for
// Windows", a minimise box but no maximise box and no sizing border, menu and accelerators
// of resource 2. No toolbar, no status bar.
class CMainFrame : public ui::FrameWindow {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // Makes the frame with a system menu and a minimise box only, whatever STYLE asks.
  bool LoadFrame(int resource_id, unsigned style = ui::kStyleOverlappedWindow) override;
};

}  // namespace vintrel

#endif  // VINTREL_APP_MAIN_FRAME_H_
