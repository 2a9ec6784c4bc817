#ifndef VINTREL_SETTINGS_GET_DIR_DLG_H_
#define VINTREL_SETTINGS_GET_DIR_DLG_H_

#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace vintrel {

// The folder chooser (template 105): edit 102 holds the folder text, which OK hands back as
// typed, without any check. Beside it a drive list, a folder list and a file list (for
// reference) browse as the main form's lists do: a double-click on a drive or a folder goes
// there and puts the new folder, ending with '/', into edit 102. The lists open on the
// folder that the text set by the caller names (see FolderToBrowse), else on the current
// folder.
//
//   CGetDirDlg chooser;
//   chooser.m_strDir = folder;
//   if (chooser.DoModal() == ui::IDOK) folder = chooser.m_strDir;
//
// After IDOK m_strDir holds the text of edit 102; after IDCANCEL it holds what the caller
// set.
class CGetDirDlg : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 105;
  static constexpr int kIdDir = 102;
  static constexpr int kIdFolderList = 103;
  static constexpr int kIdDriveList = 137;
  static constexpr int kIdFileList = 139;

  // PARENT owns the dialog window; null: the main frame.
  explicit CGetDirDlg(QWidget* parent = nullptr);
  ~CGetDirDlg() override;

  // Shows m_strDir, centres the dialog on the screen and fills the three lists.
  bool OnInitDialog() override;

  // A double-click in any of the three lists: on a drive or a folder, browses there and
  // shows the new folder in edit 102; on a file, nothing. Nothing happens without a
  // selected entry.
  void OnDblclkList();

  // Notes which control reports before the message table runs (OnDblclkList serves three
  // lists).
  void OnControlNotify(ui::Notify code, int id) override;

  // The folder the lists show, ending with '/'.
  const std::string& browsed_folder() const { return m_strFolder; }

  ui::ListBox m_lstFiles;
  ui::ListBox m_lstDrives;
  ui::ListBox m_lstFolders;
  std::string m_strDir;  // the text of edit 102

 protected:
  void DoDataExchange(ui::DataExchange* dx) override;
  const ui::MessageMap* GetMessageMap() const override;

 private:
  // Empties the folder and file lists and lists m_strFolder into them.
  void FillLists();
  void GoToFolderEntry();
  void GoToDrive();
  // Puts m_strFolder into edit 102.
  void ShowFolder();

  std::string m_strFolder;           // the folder the lists show
  std::string m_strPattern = "*.*";  // the file list's pattern within the folder
  int notifying_id_ = -1;            // the control whose notification runs
};

}  // namespace vintrel

#endif  // VINTREL_SETTINGS_GET_DIR_DLG_H_
