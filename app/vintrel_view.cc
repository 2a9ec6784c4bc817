#include "app/vintrel_view.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/core/dir_list.h"
#include "platform/core/drives.h"
#include "platform/core/upper_case.h"
#include "platform/ui/application.h"
#include "platform/ui/frame_window.h"
#include "settings/settings_store.h"

namespace vintrel {
namespace {

// The process's current folder ending with '/'. When it cannot be had (it was removed),
// the home folder, else the root.
std::string CurrentFolder() {
  std::string folder;
  if (char* cwd = getcwd(nullptr, 0)) {
    folder = cwd;
    free(cwd);
  } else if (const char* home = getenv("HOME"); home != nullptr && home[0] == '/') {
    folder = home;
  } else {
    folder = "/";
  }
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// The parent of FOLDER ("/a/b/" gives "/a/"); the root and a text without '/' stay.
std::string ParentFolder(const std::string& folder) {
  size_t last = folder.rfind('/');
  if (last == std::string::npos) return folder;
  std::string parent = folder.substr(0, last);
  size_t before = parent.rfind('/');
  if (before == std::string::npos) return parent + '/';
  return parent.substr(0, before + 1);
}

}  // namespace

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

  if (m_strFolder.empty()) m_strFolder = CurrentFolder();

  for (const std::string& mount_point : ListDrives()) {
    m_lstDrives.AddString(DriveEntryText(mount_point));
  }
  FillFolderList();
  FillFileList();
  UpdateData(false);
}

void CVintrelView::FillFolderList() {
  m_strPattern = m_strFolder + "*.*";
  for (const DirEntry& entry : ListDirectory(m_strPattern)) {
    if (entry.attributes == kAttrFolder && entry.name != ".") {
      m_lstFolders.AddString("[" + entry.name + "]");
    }
  }
}

void CVintrelView::FillFileList() {
  m_strPattern = m_strFolder + m_strFilter;
  for (const DirEntry& entry : ListDirectory(m_strPattern)) {
    if (entry.attributes != kAttrFolder && entry.attributes != kAttrSystem &&
        entry.attributes != kAttrHidden) {
      m_lstFiles.AddString(entry.name);
    }
  }
}

void CVintrelView::RelistFiles() {
  m_lstFiles.ResetContent();
  FillFileList();
}

void CVintrelView::OnDblclkFolderList() {
  int selected = m_lstFolders.GetCurSel();
  if (selected == ui::kListError) return;
  std::string entry = m_lstFolders.GetText(selected);
  if (ToUpperAscii(entry) == "[..]") {
    m_strFolder = ParentFolder(m_strFolder);
  } else if (entry.size() >= 2 && entry.front() == '[' && entry.back() == ']') {
    // The entry is the folder's real name in brackets; the name itself may hold ']'.
    std::string folder = m_strFolder + entry.substr(1, entry.size() - 2) + '/';
    if (folder.size() < PATH_MAX) m_strFolder = std::move(folder);
  }
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
  // The drive of the current folder keeps the folder; another drive goes to its root.
  if (DriveOfFolder(m_strFolder, drives) != mount_point) m_strFolder = mount_point;
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
