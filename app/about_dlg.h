#ifndef VINTREL_APP_ABOUT_DLG_H_
#define VINTREL_APP_ABOUT_DLG_H_

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace vintrel {

// The about box (template 100): title with version and what the tool does. It centres
// itself on the screen; OK closes it.
class CAboutDlg : public ui::Dialog {
 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
  ~CAboutDlg() override;

  bool OnInitDialog() override;

  ui::Static m_stcVersion;  // control 132

 protected:
  void DoDataExchange(ui::DataExchange* dx) override;
};

}  // namespace vintrel

#endif  // VINTREL_APP_ABOUT_DLG_H_
