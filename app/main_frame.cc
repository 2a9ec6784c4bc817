#include "app/main_frame.h"

namespace vintrel {

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame(int resource_id, unsigned /*style*/) {
  return FrameWindow::LoadFrame(resource_id, ui::kStyleSysMenu | ui::kStyleMinimizeBox);
}

}  // namespace vintrel
