#include "settings/option_dialog.h"

#include <errno.h>
#include <sys/stat.h>

#include <vector>

#include "platform/core/app_paths.h"
#include "platform/core/file_error.h"
#include "platform/core/profile.h"
#include "platform/ui/message_box.h"
#include "settings/extension_rule.h"
#include "settings/get_dir_dlg.h"
#include "settings/settings_store.h"
#include "settings/word_list.h"

namespace vintrel {
namespace {

constexpr char kNoWordText[] = "追加するものが入力されていませんけど・・・";
constexpr char kDuplicateText[] = "既に登録されているみたいです";
constexpr char kNothingSelectedText[] = "削除するものが選択されていませんけど・・・";
constexpr char kRefusedExtText[] = "Incredible!! DO NOT USE THIS EXTENSION!!";

// "PATH: REASON" for a failure with ERROR_NUMBER, or PATH alone when the reason is unknown.
std::string FileAndReason(const std::string& path, int error_number) {
  if (error_number == 0) return path;
  return FileError(path, error_number).what();
}

// Why a write of the profile at PATH failed: the errno value the failed write left, or, when
// it left none, what is wrong with the path itself (0 when that shows nothing either).
int ProfileWriteError(const std::string& path, int error_number) {
  if (error_number != 0) return error_number;
  struct stat status;
  if (stat(path.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if (!S_ISREG(status.st_mode)) return EINVAL;
  }
  return 0;
}

}  // namespace

COptionDialog::COptionDialog(QWidget* parent) : Dialog(kTemplateId, parent) {}

COptionDialog::~COptionDialog() = default;

void COptionDialog::DoDataExchange(ui::DataExchange* dx) {
  Dialog::DoDataExchange(dx);
  ui::DDX_Control(dx, kIdColumn, m_edtColumn);
  ui::DDX_Control(dx, kIdColumnLabel, m_stcColumn);
  ui::DDX_Control(dx, kIdWords, m_lstWords);
  ui::DDX_Control(dx, kIdDeleteWord, m_btnDelete);
  ui::DDX_Control(dx, kIdAddWord, m_btnAdd);
  ui::DDX_Control(dx, kIdAsk, m_btnAsk);
  ui::DDX_Control(dx, kIdOverwrite, m_btnOverwrite);
  ui::DDX_Control(dx, kIdExt, m_edtExt);
  ui::DDX_Control(dx, kIdSearchFree, m_btnSearchFree);
  ui::DDX_Check(dx, kIdSearchFree, m_bSearchFree);
  ui::DDX_Text(dx, kIdExt, m_strExt);
  ui::DDX_Check(dx, kIdOverwrite, m_bOverwrite);
  ui::DDX_Check(dx, kIdAsk, m_bAsk);
  ui::DDX_Text(dx, kIdWord, m_strWord);
  ui::DDX_Check(dx, kIdDelAll, m_bDelAll);
  ui::DDX_Check(dx, kIdDelColumn, m_bDelColumn);
  ui::DDX_Text(dx, kIdColumn, m_strColumn);
  ui::DDX_Check(dx, kIdDelSpac3, m_bDelSpac3);
  ui::DDX_Text(dx, kIdOutDir, m_strOutDir);
}

const ui::MessageMap* COptionDialog::GetMessageMap() const {
  using ui::Notify;
  static const ui::MessageMapOf<COptionDialog> map(
      Dialog::GetMessageMap(),
      {
          {Notify::kChange, kIdExt, &COptionDialog::OnChangeExtEdit},
          {Notify::kClicked, kIdSearchFree, &COptionDialog::OnClickSearchFree},
          {Notify::kClicked, kIdOverwrite, &COptionDialog::OnClickOverwrite},
          {Notify::kClicked, kIdAsk, &COptionDialog::OnClickAsk},
          {Notify::kClicked, kIdDeleteWord, &COptionDialog::OnDeleteWord},
          {Notify::kClicked, kIdAddWord, &COptionDialog::OnAddWord},
          {Notify::kClicked, kIdDelColumn, &COptionDialog::OnClickDelColumn},
          {Notify::kClicked, kIdDelAll, &COptionDialog::OnClickDelAll},
          {Notify::kClicked, kIdBrowseOutDir, &COptionDialog::OnBrowseOutDir},
      });
  return &map;
}

bool COptionDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  CenterWindow();
  LoadWords();

  const Profile profile(ProfilePath());
  const int mode = ReadCollisionMode(profile);
  if (mode == 1) {
    m_bAsk = 1;
  } else if (mode == 2) {
    m_bOverwrite = 1;
  } else {
    m_bSearchFree = 1;
  }
  m_strExt = ReadDialogExt(profile);
  // The boxes show the flags as a run reads them: DelAll and DelColumn are set only by
  // exactly 1, DelSpac3 by anything but 0.
  m_bDelAll = ReadEntry(profile, kDelAll) == 1 ? 1 : 0;
  m_bDelColumn = ReadEntry(profile, kDelColumn) == 1 ? 1 : 0;
  m_strColumn = ReadColumnText(profile);
  m_bDelSpac3 = ReadEntry(profile, kDelSpac3) != 0 ? 1 : 0;
  m_strOutDir = ReadOutDir(profile);

  if (m_bDelAll == 1) {
    EnableColumn(false);
    m_bDelColumn = 0;
  }
  if (m_bDelColumn == 1) {
    m_bDelAll = 0;
    EnableColumn(true);
  }
  UpdateData(false);
  return true;
}

void COptionDialog::LoadWords() {
  const std::string path = WordListPath();
  int error = 0;
  try {
    if (LoadWordList(
            path, [this](std::string_view entry) { m_lstWords.AddString(entry); }, &error)) {
      return;
    }
    if (error == ENOENT) return;  // no list yet
  } catch (const FileError& read_error) {
    error = read_error.error_number();
  }
  // What could not be read is never written over: the list stays as read, locked.
  words_readable_ = false;
  m_lstWords.EnableWindow(false);
  m_btnAdd.EnableWindow(false);
  m_btnDelete.EnableWindow(false);
  ui::Edit word;
  word.Attach(GetDlgItem(kIdWord));
  word.EnableWindow(false);
  ui::MessageBox(widget(), "単語リストファイルを読み込めません: " + FileAndReason(path, error));
}

bool COptionDialog::SaveWords() {
  if (!words_readable_) return true;
  std::vector<std::string> entries;
  entries.reserve(static_cast<size_t>(m_lstWords.GetCount()));
  for (int i = 0; i < m_lstWords.GetCount(); ++i) entries.push_back(m_lstWords.GetText(i));

  const std::string path = WordListPath();
  int error = 0;
  try {
    MakeConfigFolder();
    if (SaveWordList(path, entries, &error)) return true;
  } catch (const FileError& write_error) {
    error = write_error.error_number();
  }
  ui::MessageBox(widget(), "単語リストファイルに書き込めません: " + FileAndReason(path, error));
  return false;
}

void COptionDialog::OnOK() {
  UpdateData(true);
  const bool words_saved = SaveWords();

  Profile profile(ProfilePath());
  bool stored = true;
  int error = 0;
  auto store = [&stored, &error](const auto& write) {
    errno = 0;
    if (!write() && stored) {
      stored = false;
      error = errno;
    }
  };
  store([&] { return WriteEntry(profile, kDelAll, m_bDelAll); });
  store([&] { return WriteEntry(profile, kDelColumn, m_bDelColumn); });
  store([&] { return WriteEntry(profile, kColumnText, m_strColumn); });
  store([&] { return WriteEntry(profile, kDelSpac3, m_bDelSpac3); });
  store([&] { return WriteEntry(profile, kExtForDialogs, m_strExt); });
  int mode = 2;
  if (m_bSearchFree == 1) {
    mode = 0;
  } else if (m_bAsk == 1) {
    mode = 1;
  }
  store([&] { return WriteEntry(profile, kMode, mode); });
  store([&] { return WriteEntry(profile, kOutDir, m_strOutDir); });
  if (!stored) {
    ui::MessageBox(widget(),
                   "設定ファイルに書き込めません: " +
                       FileAndReason(profile.path(), ProfileWriteError(profile.path(), error)));
  }

  // Closing now would lose what could not be stored; the dialog stays for another try.
  if (!words_saved || !stored) return;
  Dialog::OnOK();
}

void COptionDialog::OnChangeExtEdit() {
  UpdateData(true);
  if (!IsRefusedExtension(m_strExt)) return;
  ui::Beep();
  ui::MessageBox(widget(), kRefusedExtText);
  m_strExt.clear();
  UpdateData(false);
}

void COptionDialog::ApplyPolicyClick(int& clicked, int& other_a, int& other_b) {
  UpdateData(true);
  if (clicked == 1) {
    other_a = 0;
    other_b = 0;
  } else if (other_a != 1 && other_b != 1) {
    clicked = 1;
  }
  UpdateData(false);
}

void COptionDialog::OnClickSearchFree() { ApplyPolicyClick(m_bSearchFree, m_bOverwrite, m_bAsk); }

void COptionDialog::OnClickOverwrite() { ApplyPolicyClick(m_bOverwrite, m_bSearchFree, m_bAsk); }

void COptionDialog::OnClickAsk() { ApplyPolicyClick(m_bAsk, m_bSearchFree, m_bOverwrite); }

void COptionDialog::OnDeleteWord() {
  const int selected = m_lstWords.GetCurSel();
  if (selected == ui::kListError) {
    ui::MessageBox(widget(), kNothingSelectedText);
    return;
  }
  m_lstWords.DeleteString(selected);
  m_lstWords.SetCurSel(-1);
}

void COptionDialog::OnAddWord() {
  UpdateData(true);
  if (m_strWord.empty()) {
    ui::MessageBox(widget(), kNoWordText);
    return;
  }
  if (m_lstWords.FindStringExact(-1, m_strWord) != ui::kListError) {
    ui::MessageBox(widget(), kDuplicateText);
    return;
  }
  m_lstWords.AddString(m_strWord);
  m_strWord.clear();
  UpdateData(false);
}

void COptionDialog::EnableColumn(bool enable) {
  m_edtColumn.EnableWindow(enable);
  m_stcColumn.EnableWindow(enable);
}

void COptionDialog::OnClickDelColumn() {
  UpdateData(true);
  if (m_bDelColumn == 1) {
    m_bDelAll = 0;
    EnableColumn(true);
    UpdateData(false);
  } else {
    EnableColumn(false);
  }
}

void COptionDialog::OnClickDelAll() {
  UpdateData(true);
  if (m_bDelAll == 1) {
    EnableColumn(false);
    m_bDelColumn = 0;
    UpdateData(false);
  }
}

void COptionDialog::OnBrowseOutDir() {
  UpdateData(true);
  // The chooser sits on this dialog, the window the user is working in.
  CGetDirDlg chooser(widget());
  chooser.m_strDir = m_strOutDir;
  if (chooser.DoModal() == ui::IDOK) {
    m_strOutDir = chooser.m_strDir;
    UpdateData(false);
  }
}

}  // namespace vintrel
