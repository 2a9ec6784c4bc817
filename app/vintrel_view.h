#ifndef VINTREL_APP_VINTREL_VIEW_H_
#define VINTREL_APP_VINTREL_VIEW_H_

#include <string>
#include <vector>

#include "platform/core/string_map.h"
#include "platform/ui/controls.h"
#include "platform/ui/form_view.h"

namespace vintrel {

// The main form (template 2): a small file browser. A drive list, a folder list and a
// file list show where the user is, edit 102 the current folder and combo box 107 the
// file-name filter; what the file list shows is what the start button converts. The form
// also holds the two status lines, takes files dropped on it and owns the state of a
// conversion run (the busy flag and the exception word map).
//
// The current folder is a full path ending with '/' whenever the form has set it; a folder
// typed into edit 102 is taken as typed. Folder paths keep their real letter case. What the
// lists show and where a double-click leads are the browsing rules of app/folder_browsing.h,
// which the folder chooser shares; the form keeps the order of its own steps.
//
// Members defined by other parts of the program: OnStart and OnDropFiles
// (engine/conversion_run.cc), MakeOutputName (output/make_output_name.cc) and OnOptions
// (settings/option_command.cc).
class CVintrelView : public ui::FormView {
 public:
  CVintrelView();
  ~CVintrelView() override;

  // Control ids of template 2.
  static constexpr int kIdFolderEdit = 102;
  static constexpr int kIdFolderList = 103;
  static constexpr int kIdDriveList = 104;
  static constexpr int kIdFileList = 105;
  static constexpr int kIdStart = 106;
  static constexpr int kIdFilter = 107;
  static constexpr int kIdStatus = 108;
  static constexpr int kIdSubStatus = 133;
  // The options command of the menu.
  static constexpr int kIdOptions = 32768;

  // First shown (and again when a document is reopened): fits the frame to the form,
  // accepts dropped files, fills the filter box from the profile, takes the process's
  // current folder when none is set, and fills the drive, folder and file lists. The
  // lists are emptied first, so a second update lists everything once.
  void OnInitialUpdate() override;

  // Lists the folders of m_strFolder into the folder list as "[name]" ("[..]" for the
  // parent), passing over entries whose attribute byte is not exactly a folder's.
  void FillFolderList();
  // Lists the entries of m_strFolder matching m_strFilter into the file list, passing over
  // entries whose attribute byte is exactly folder, system or hidden.
  void FillFileList();

  // Double-click handlers of the three lists. A double-click with no selected entry does
  // nothing.
  void OnDblclkFolderList();  // enters the folder, or goes up with "[..]"
  void OnDblclkDriveList();   // goes to the drive's mount point (the current drive stays)
  void OnDblclkFileList();    // narrows the filter to that file and counts the matches
  // Filter box notifications: take the fields from the controls and list the files again.
  void OnSelchangeFilter();
  void OnCloseupFilter();
  void OnEditchangeFilter();
  void OnEditupdateFilter();

  // Start button 106: converts the files of the current folder matching the filter.
  void OnStart();
  // Files dropped on the form: converts them.
  void OnDropFiles(std::vector<std::string> paths) override;
  // The output path for the bare, upper-cased input name NAME; empty when none can be made.
  std::string MakeOutputName(const std::string& name);
  // Menu command 32768: the options dialog.
  void OnOptions();

  // The frame asks before it closes. While a run is in progress the answer is no and
  // m_bClosing is set: the run stops after its current line, tidies up and then closes the
  // frame (FrameWindow::PostClose).
  bool CanCloseFrame() override;

  int m_bBusy = 0;  // 1 while a conversion run is in progress
  ui::ComboBox m_cmbFilter;
  ui::Button m_btnStart;
  ui::Static m_stcSubStatus;
  ui::Static m_stcStatus;
  ui::ListBox m_lstFiles;
  ui::ListBox m_lstDrives;
  ui::ListBox m_lstFolders;
  ui::Edit m_edtFolder;
  std::string m_strFolder;            // the current folder; ends with '/' when set here
  std::string m_strFilter = "*.*";    // the file-name filter, without folder
  std::string m_strPattern;           // the search pattern of the listing at hand
  CMapStringToString m_mapKeepWords;  // exception words, filled only during a run
  bool m_bClosing = false;            // the frame was asked to close while a run was in progress

 protected:
  void DoDataExchange(ui::DataExchange* dx) override;
  const ui::MessageMap* GetMessageMap() const override;

 private:
  void RelistFiles();
};

}  // namespace vintrel

#endif  // VINTREL_APP_VINTREL_VIEW_H_
