#ifndef VINTREL_APP_VINTREL_APP_H_
#define VINTREL_APP_VINTREL_APP_H_

#include "platform/ui/application.h"

namespace vintrel {

// The application object. Start-up (InitInstance): grey dialogs with black text, the
// recent-file list of four entries from the profile, the one document template (resource
// 2: CVintrelDoc, CMainFrame, CVintrelView) and the first, empty document, which makes and
// shows the frame and the form. It answers About (57664) and Help Contents (57666).
class CVintrelApp : public ui::Application {
 public:
  CVintrelApp();
  ~CVintrelApp() override;

  // Returns true whatever the first document's creation achieved.
  bool InitInstance() override;

  // The about box, modal, centred on the screen.
  void OnAppAbout();

 protected:
  const ui::MessageMap* GetMessageMap() const override;
};

}  // namespace vintrel

#endif  // VINTREL_APP_VINTREL_APP_H_
