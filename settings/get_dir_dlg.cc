#include "settings/get_dir_dlg.h"

#include <vector>

#include "app/folder_browsing.h"
#include "platform/core/drives.h"

namespace vintrel {

CGetDirDlg::CGetDirDlg(QWidget* parent) : Dialog(kTemplateId, parent) {}

CGetDirDlg::~CGetDirDlg() = default;

void CGetDirDlg::DoDataExchange(ui::DataExchange* dx) {
  Dialog::DoDataExchange(dx);
  ui::DDX_Control(dx, kIdFileList, m_lstFiles);
  ui::DDX_Control(dx, kIdDriveList, m_lstDrives);
  ui::DDX_Control(dx, kIdFolderList, m_lstFolders);
  ui::DDX_Text(dx, kIdDir, m_strDir);
}

const ui::MessageMap* CGetDirDlg::GetMessageMap() const {
  using ui::Notify;
  static const ui::MessageMapOf<CGetDirDlg> map(
      Dialog::GetMessageMap(),
      {
          {Notify::kDoubleClicked, kIdFolderList, &CGetDirDlg::OnDblclkList},
          {Notify::kDoubleClicked, kIdDriveList, &CGetDirDlg::OnDblclkList},
          {Notify::kDoubleClicked, kIdFileList, &CGetDirDlg::OnDblclkList},
      });
  return &map;
}

void CGetDirDlg::OnControlNotify(ui::Notify code, int id) {
  const int outer = notifying_id_;
  notifying_id_ = id;
  Dialog::OnControlNotify(code, id);
  notifying_id_ = outer;
}

bool CGetDirDlg::OnInitDialog() {
  Dialog::OnInitDialog();
  CenterWindow();

  m_lstDrives.ResetContent();
  for (const std::string& mount_point : ListDrives()) {
    m_lstDrives.AddString(DriveEntryText(mount_point));
  }
  m_strFolder = FolderToBrowse(m_strDir);
  FillLists();
  return true;
}

void CGetDirDlg::FillLists() {
  m_lstFolders.ResetContent();
  for (const std::string& entry : FolderListEntries(m_strFolder + "*.*")) {
    m_lstFolders.AddString(entry);
  }
  m_lstFiles.ResetContent();
  for (const std::string& entry : FileListEntries(m_strFolder + m_strPattern)) {
    m_lstFiles.AddString(entry);
  }
}

void CGetDirDlg::ShowFolder() {
  // Straight into the edit: m_strDir keeps the caller's text until OK takes the edit's.
  ui::Edit edit;
  edit.Attach(GetDlgItem(kIdDir));
  edit.SetWindowText(m_strFolder);
}

void CGetDirDlg::OnDblclkList() {
  switch (notifying_id_) {
    case kIdFolderList:
      GoToFolderEntry();
      break;
    case kIdDriveList:
      GoToDrive();
      break;
    default:  // the files are listed for reference only
      break;
  }
}

void CGetDirDlg::GoToFolderEntry() {
  const int selected = m_lstFolders.GetCurSel();
  if (selected == ui::kListError) return;
  m_strFolder = FolderAfterFolderEntry(m_strFolder, m_lstFolders.GetText(selected));
  FillLists();
  ShowFolder();
}

void CGetDirDlg::GoToDrive() {
  const int selected = m_lstDrives.GetCurSel();
  if (selected == ui::kListError) return;
  std::vector<std::string> drives;
  for (int i = 0; i < m_lstDrives.GetCount(); ++i) {
    std::string drive = MountPointFromEntryText(m_lstDrives.GetText(i));
    if (!drive.empty()) drives.push_back(std::move(drive));
  }
  m_strFolder =
      FolderAfterDrive(m_strFolder, MountPointFromEntryText(m_lstDrives.GetText(selected)), drives);
  FillLists();
  ShowFolder();
}

}  // namespace vintrel
