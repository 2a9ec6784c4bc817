#include "app/vintrel_app.h"

#include <memory>

#include "app/about_dlg.h"
#include "app/main_frame.h"
#include "app/vintrel_doc.h"
#include "app/vintrel_view.h"

namespace vintrel {

CVintrelApp::CVintrelApp() = default;

CVintrelApp::~CVintrelApp() = default;

const ui::MessageMap* CVintrelApp::GetMessageMap() const {
  static const ui::MessageMapOf<CVintrelApp> map(
      Application::GetMessageMap(),
      {
          {ui::Notify::kCommand, ui::kIdAppAbout, &CVintrelApp::OnAppAbout},
          {ui::Notify::kCommand, ui::kIdHelpIndex, &ui::Application::OnHelpIndex},
      });
  return &map;
}

bool CVintrelApp::InitInstance() {
  SetDialogBkColor(QColor(192, 192, 192), QColor(0, 0, 0));
  LoadStdProfileSettings(4);
  AddDocTemplate({
      2,
      [] { return std::make_unique<CVintrelDoc>(); },
      [] { return std::make_unique<CMainFrame>(); },
      [] { return std::make_unique<CVintrelView>(); },
  });
  OnFileNew();
  return true;
}

void CVintrelApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

}  // namespace vintrel
