#include "output/verify_dialog.h"

#include "output/output_name.h"
#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/ui/message_box.h"
#include "settings/extension_rule.h"
#include "settings/settings_store.h"

namespace vintrel {

CVerifyDialog::CVerifyDialog(QWidget* parent) : ui::Dialog(104, parent) {}

CVerifyDialog::~CVerifyDialog() = default;

void CVerifyDialog::DoDataExchange(ui::DataExchange* dx) {
  ui::Dialog::DoDataExchange(dx);
  ui::DDX_Control(dx, kIdNoAsk, m_btnNoAsk);
  ui::DDX_Control(dx, kIdFileName, m_stcFileName);
  ui::DDX_Control(dx, kIdExtEdit, m_edtExt);
  ui::DDX_Control(dx, kIdOverwrite, m_btnOverwrite);
  ui::DDX_Control(dx, kIdChangeExt, m_btnChangeExt);
  ui::DDX_Control(dx, kIdAutoNumber, m_btnAutoNumber);
  ui::DDX_Check(dx, kIdAutoNumber, m_bAutoNumber);
  ui::DDX_Text(dx, kIdExtEdit, m_strExt);
  ui::DDX_Check(dx, kIdChangeExt, m_bChangeExt);
  ui::DDX_Check(dx, kIdNoAsk, m_bNoAsk);
  ui::DDX_Check(dx, kIdOverwrite, m_bOverwrite);
}

const ui::MessageMap* CVerifyDialog::GetMessageMap() const {
  using ui::Notify;
  static const ui::MessageMapOf<CVerifyDialog> map(
      ui::Dialog::GetMessageMap(),
      {
          {Notify::kClicked, kIdAutoNumber, &CVerifyDialog::OnClickAutoNumber},
          {Notify::kChange, kIdExtEdit, &CVerifyDialog::OnChangeExtEdit},
          {Notify::kClicked, kIdChangeExt, &CVerifyDialog::OnClickChangeExt},
          {Notify::kClicked, kIdOverwrite, &CVerifyDialog::OnClickOverwrite},
          {Notify::kClicked, kIdNoAsk, &CVerifyDialog::OnClickNoAsk},
      });
  return &map;
}

bool CVerifyDialog::OnInitDialog() {
  ui::Dialog::OnInitDialog();
  CenterWindow();
  UpdateData(false);
  m_stcFileName.SetWindowText(m_strFileName);

  // "FileName" is the section Filename: section names match without regard to case. The
  // raw value is taken, so a policy stored as 7 opens with box 129.
  const Profile profile(ProfilePath());
  m_nChoice = profile.GetProfileInt("FileName", kMode.name, kMode.default_value);
  m_strExt = ReadDialogExt(profile);
  UpdateData(false);

  if (m_nChoice == ChoiceAutoNumber) {
    m_btnAutoNumber.SetCheck(1);
  } else if (m_nChoice == ChoiceOverwrite) {
    m_btnOverwrite.SetCheck(1);
  } else {
    m_btnChangeExt.SetCheck(1);
  }
  return true;
}

void CVerifyDialog::OnClickAutoNumber() {
  if (m_btnAutoNumber.GetCheck() != 0) {
    m_btnOverwrite.SetCheck(0);
    m_btnChangeExt.SetCheck(0);
  } else if (m_btnChangeExt.GetCheck() == 0 && m_btnOverwrite.GetCheck() == 0) {
    m_btnAutoNumber.SetCheck(1);
  }
}

void CVerifyDialog::OnClickOverwrite() {
  if (m_btnOverwrite.GetCheck() != 0) {
    m_btnAutoNumber.SetCheck(0);
    m_btnChangeExt.SetCheck(0);
  } else if (m_btnChangeExt.GetCheck() == 0 && m_btnAutoNumber.GetCheck() == 0) {
    m_btnOverwrite.SetCheck(1);
  }
}

void CVerifyDialog::OnClickChangeExt() {
  if (m_btnChangeExt.GetCheck() != 0) {
    m_btnAutoNumber.SetCheck(0);
    m_btnOverwrite.SetCheck(0);
    // Another extension is a one-off answer: it cannot stand for later names.
    if (m_btnNoAsk.GetCheck() != 0) m_btnNoAsk.SetCheck(0);
  } else if (m_btnOverwrite.GetCheck() == 0 && m_btnAutoNumber.GetCheck() == 0) {
    m_btnChangeExt.SetCheck(1);
  }
}

void CVerifyDialog::OnClickNoAsk() {
  if (m_btnNoAsk.GetCheck() != 0 && m_btnChangeExt.GetCheck() != 0) m_btnNoAsk.SetCheck(0);
}

void CVerifyDialog::OnChangeExtEdit() {
  // Only the user's changes arrive here: the dialog's own transfers notify nothing.
  UpdateData(true);
  if (IsRefusedExtension(m_strExt)) {
    ui::Beep();
    ui::MessageBox(widget(), "Incredible!! DO NOT USE THIS EXTENSION!!");
    m_strExt.clear();
    UpdateData(false);
  }
}

void CVerifyDialog::OnOK() {
  if (m_btnAutoNumber.GetCheck() != 0) {
    m_nChoice = ChoiceAutoNumber;
  } else if (m_btnOverwrite.GetCheck() != 0) {
    m_nChoice = ChoiceOverwrite;
  } else if (m_btnChangeExt.GetCheck() != 0) {
    m_nChoice = ChoiceChangeExt;
  } else {
    ui::Beep();
    ui::MessageBox(widget(), "Error!!");
    return;
  }
  // "Do not ask again": the choice becomes the standing policy (0 or 2; box 130 cannot be
  // checked together with 129). A profile that cannot be written leaves the policy as it
  // was; the answer still holds for this name.
  if (m_btnNoAsk.GetCheck() != 0) {
    Profile profile(ProfilePath());
    WriteEntry(profile, kMode, m_nChoice);
  }
  UpdateData(true);
  ui::Dialog::OnOK();
}

void CVerifyDialog::OnCancel() {}

}  // namespace vintrel
