#include "app/vintrel_view.h"

#include "app/folder_browsing.h"
#include "platform/core/drives.h"
#include "platform/ui/application.h"
#include "platform/ui/frame_window.h"
#include "settings/settings_store.h"

namespace vintrel {

CVintrelView::CVintrelView() : FormView(2) {}

CVintrelView::~CVintrelView() = default;

void CVintrelView::DoDataExchange(ui::DataExchange* dx) {
  FormView::DoDataExchange(dx);
  ui::DDX_Control(dx, kIdFilter, m_cmbFilter);
  ui::DDX_Control(dx, kIdStart, m_btnStart);
  ui::DDX_Control(dx, kIdSubStatus, m_stcSubStatus);
  ui::DDX_Control(dx, kIdStatus, m_stcStatus);
  ui::DDX_Control(dx, kIdFileList, m_lstFiles);
  ui::DDX_Control(dx, kIdDriveList, m_lstDrives);
  ui::DDX_Control(dx, kIdFolderList, m_lstFolders);
  ui::DDX_Control(dx, kIdFolderEdit, m_edtFolder);
  ui::DDX_Text(dx, kIdFolderEdit, m_strFolder);
  ui::DDX_Text(dx, kIdFilter, m_strFilter);
}

const ui::MessageMap* CVintrelView::GetMessageMap() const {
  using ui::Notify;
  static const ui::MessageMapOf<CVintrelView> map(
      FormView::GetMessageMap(),
      {
          {Notify::kDoubleClicked, kIdFolderList, &CVintrelView::OnDblclkFolderList},
          {Notify::kDoubleClicked, kIdDriveList, &CVintrelView::OnDblclkDriveList},
          {Notify::kClicked, kIdStart, &CVintrelView::OnStart},
          {Notify::kDoubleClicked, kIdFileList, &CVintrelView::OnDblclkFileList},
          {Notify::kCommand, kIdOptions, &CVintrelView::OnOptions},
          {Notify::kCloseUp, kIdFilter, &CVintrelView::OnCloseupFilter},
          {Notify::kSelChange, kIdFilter, &CVintrelView::OnSelchangeFilter},
          {Notify::kEditChange, kIdFilter, &CVintrelView::OnEditchangeFilter},
          {Notify::kEditUpdate, kIdFilter, &CVintrelView::OnEditupdateFilter},
      });
  return &map;
}

void CVintrelView::OnInitialUpdate() {
  // A second update (a reopened document) lists everything afresh instead of twice.
  m_cmbFilter.ResetContent();
  m_lstDrives.ResetContent();
  m_lstFolders.ResetContent();
  m_lstFiles.ResetContent();

  FormView::OnInitialUpdate();
  if (ui::FrameWindow* frame = GetParentFrame()) frame->RecalcLayout(true);
  ResizeParentToFit(false);
  DragAcceptFiles(true);

  ui::Application* app = ui::GetApp();
  auto read = [app](const TextEntry& entry) {
    return app->GetProfileString(entry.section, entry.name, entry.default_value);
  };
  m_strFilter = read(kInitialFilter);
  m_cmbFilter.AddString("*.*");
  m_cmbFilter.AddString("*.txt");
  m_cmbFilter.AddString("*.doc");
  for (int n = 1; n <= kUserFilterCount; ++n) {
    std::string filter = app->GetProfileString(kSectionInitial, UserFilterEntryName(n), "");
    if (!filter.empty()) m_cmbFilter.AddString(filter);
  }

  if (m_strFolder.empty()) m_strFolder = CurrentFolderPath();

  for (const std::string& mount_point : ListDrives()) {
    m_lstDrives.AddString(DriveEntryText(mount_point));
  }
  FillFolderList();
  FillFileList();
  UpdateData(false);
}

void CVintrelView::FillFolderList() {
  m_strPattern = m_strFolder + "*.*";
  for (const std::string& entry : FolderListEntries(m_strPattern)) m_lstFolders.AddString(entry);
}

void CVintrelView::FillFileList() {
  m_strPattern = m_strFolder + m_strFilter;
  for (const std::string& entry : FileListEntries(m_strPattern)) m_lstFiles.AddString(entry);
}

void CVintrelView::RelistFiles() {
  m_lstFiles.ResetContent();
  FillFileList();
}

void CVintrelView::OnDblclkFolderList() {
  int selected = m_lstFolders.GetCurSel();
  if (selected == ui::kListError) return;
  m_strFolder = FolderAfterFolderEntry(m_strFolder, m_lstFolders.GetText(selected));
  m_lstFolders.ResetContent();
  FillFolderList();
  RelistFiles();
  UpdateData(false);
}

void CVintrelView::OnDblclkDriveList() {
  int selected = m_lstDrives.GetCurSel();
  if (selected == ui::kListError) return;
  std::string mount_point = MountPointFromEntryText(m_lstDrives.GetText(selected));
  if (mount_point.empty()) return;
  std::vector<std::string> drives;
  for (int i = 0; i < m_lstDrives.GetCount(); ++i) {
    std::string drive = MountPointFromEntryText(m_lstDrives.GetText(i));
    if (!drive.empty()) drives.push_back(std::move(drive));
  }
  m_strFolder = FolderAfterDrive(m_strFolder, mount_point, drives);
  m_lstFolders.ResetContent();
  FillFolderList();
  RelistFiles();
  UpdateData(false);
}

void CVintrelView::OnDblclkFileList() {
  int selected = m_lstFiles.GetCurSel();
  if (selected == ui::kListError) return;
  m_strFilter = m_lstFiles.GetText(selected);
  RelistFiles();
  m_stcStatus.SetWindowText(std::to_string(m_lstFiles.GetCount()) +
                            " 個のファイルが選択されています。");
  UpdateData(false);
}

void CVintrelView::OnSelchangeFilter() {
  UpdateData(true);
  int selected = m_cmbFilter.GetCurSel();
  if (selected != ui::kListError) m_strFilter = m_cmbFilter.GetLBText(selected);
  RelistFiles();
}

void CVintrelView::OnCloseupFilter() {
  UpdateData(true);
  RelistFiles();
}

void CVintrelView::OnEditchangeFilter() {
  UpdateData(true);
  RelistFiles();
}

void CVintrelView::OnEditupdateFilter() {
  UpdateData(true);
  RelistFiles();
}

bool CVintrelView::CanCloseFrame() {
  if (m_bBusy != 0) {
    m_bClosing = true;
    return false;
  }
  return true;
}

}  // namespace vintrel
