#include "app/about_dlg.h"

namespace vintrel {

CAboutDlg::CAboutDlg(QWidget* parent) : Dialog(100, parent) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(ui::DataExchange* dx) {
  Dialog::DoDataExchange(dx);
  ui::DDX_Control(dx, 132, m_stcVersion);
}

bool CAboutDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  CenterWindow();
  return true;
}

}  // namespace vintrel
