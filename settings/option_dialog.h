#ifndef VINTREL_SETTINGS_OPTION_DIALOG_H_
#define VINTREL_SETTINGS_OPTION_DIALOG_H_

#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace vintrel {

// The options dialog (template 103): the collision policy of output names, the exception
// word list, the leading-blank rules with their column count, the collapsing of blanks
// between words, the default extension and the output folder. It opens from the profile
// and the word list file and stores into them only when the user presses OK; Cancel
// stores nothing. It keeps nothing between showings.
//
//   COptionDialog dialog;  // no parent: the main frame owns it
//   dialog.DoModal();
//
// Word list entries are bytes (possibly Shift-JIS): each keeps its exact bytes through the
// list, so OK writes back exactly what was read.
class COptionDialog : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 103;
  static constexpr int kIdSearchFree = 111;
  static constexpr int kIdOverwrite = 112;
  static constexpr int kIdAsk = 113;
  static constexpr int kIdExt = 114;
  static constexpr int kIdWords = 117;
  static constexpr int kIdWord = 118;
  static constexpr int kIdAddWord = 119;
  static constexpr int kIdDeleteWord = 120;
  static constexpr int kIdDelAll = 121;
  static constexpr int kIdColumn = 122;
  static constexpr int kIdDelColumn = 123;
  static constexpr int kIdColumnLabel = 124;
  static constexpr int kIdDelSpac3 = 125;
  static constexpr int kIdOutDir = 134;
  static constexpr int kIdBrowseOutDir = 135;

  // PARENT owns the dialog window; null: the main frame.
  explicit COptionDialog(QWidget* parent = nullptr);
  ~COptionDialog() override;

  // Centres the dialog, loads the word list into list 117 and the settings into the
  // members, and shows them. A word list that exists but cannot be read is reported in a
  // message box naming the file; the word controls are then disabled and OK leaves the
  // file as it is.
  bool OnInitDialog() override;

  // Stores the word list and then the settings: DelAll, DelColumn, Column (as typed),
  // DelSpac3, Ext (section Default), Mode (section Filename) and Outdir (section Regist),
  // and closes with IDOK. When the word list file cannot be written, a message box names
  // it with the system's reason and the dialog stays open with the list as edited (the
  // settings are stored all the same).
  void OnOK() override;

  // The extension edit: "html" typed by the user (any letter case) is refused with a beep
  // and a message, and the edit is emptied.
  void OnChangeExtEdit();
  // The three policy boxes: exactly one is ticked at every moment.
  void OnClickSearchFree();
  void OnClickOverwrite();
  void OnClickAsk();
  // Deletes the selected word; a message when none is selected.
  void OnDeleteWord();
  // Adds the word of edit 118 as typed; a message when it is empty or already listed (in
  // any letter case).
  void OnAddWord();
  // The leading-blank boxes: never ticked together; edit 122 and label 124 are enabled
  // while 123 is ticked.
  void OnClickDelColumn();
  void OnClickDelAll();
  // Opens the folder chooser on the folder text of edit 134; its OK puts the chosen
  // folder there.
  void OnBrowseOutDir();

  ui::Edit m_edtColumn;
  ui::Static m_stcColumn;
  ui::ListBox m_lstWords;
  ui::Button m_btnDelete;
  ui::Button m_btnAdd;
  ui::Button m_btnAsk;
  ui::Button m_btnOverwrite;
  ui::Edit m_edtExt;
  ui::Button m_btnSearchFree;
  int m_bSearchFree = 0;
  std::string m_strExt;
  int m_bOverwrite = 0;
  int m_bAsk = 0;
  std::string m_strWord;
  int m_bDelAll = 0;
  int m_bDelColumn = 0;
  std::string m_strColumn;
  int m_bDelSpac3 = 0;
  std::string m_strOutDir;

 protected:
  void DoDataExchange(ui::DataExchange* dx) override;
  const ui::MessageMap* GetMessageMap() const override;

 private:
  // The policy boxes' rule for a click on the box CLICKED, the others being OTHER_A and
  // OTHER_B (all members).
  void ApplyPolicyClick(int& clicked, int& other_a, int& other_b);
  void EnableColumn(bool enable);
  void LoadWords();
  // Saves list 117 to the word list file. False, after a message box naming the file and
  // the reason, when it cannot be written.
  bool SaveWords();

  bool words_readable_ = true;  // false: the word list file could not be read at opening
};

}  // namespace vintrel

#endif  // VINTREL_SETTINGS_OPTION_DIALOG_H_
