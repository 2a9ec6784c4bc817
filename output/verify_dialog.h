#ifndef VINTREL_OUTPUT_VERIFY_DIALOG_H_
#define VINTREL_OUTPUT_VERIFY_DIALOG_H_

#include <QWidget>

#include <string>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"

namespace vintrel {

// The confirmation dialog (template 104): an output name is in use; the user chooses to
// leave it to the automatic numbering (111), to overwrite the file (112) or to change the
// extension (129, edit 114). Exactly one of the three is checked at any time. Box 130 ("do
// not ask again") can be checked together with 111 or 112 only; OK then stores the choice
// as the standing collision policy (entry Mode of section Filename), so later names are
// not asked about. No extension is ever stored.
//
// Use as a local object: set m_strFileName, DoModal(), then read m_nChoice (a VerifyChoice
// value) and m_strExt. The dialog closes through OK only: Escape and the close box do
// nothing. Settings are read from the profile when the dialog opens.
class CVerifyDialog : public ui::Dialog {
 public:
  // Control ids of template 104.
  static constexpr int kIdAutoNumber = 111;
  static constexpr int kIdOverwrite = 112;
  static constexpr int kIdExtEdit = 114;
  static constexpr int kIdFileName = 126;
  static constexpr int kIdChangeExt = 129;
  static constexpr int kIdNoAsk = 130;

  // PARENT owns the dialog window; null: the main frame.
  explicit CVerifyDialog(QWidget* parent = nullptr);
  ~CVerifyDialog() override;

  ui::Button m_btnNoAsk;
  ui::Static m_stcFileName;
  ui::Edit m_edtExt;
  ui::Button m_btnOverwrite;
  ui::Button m_btnChangeExt;
  ui::Button m_btnAutoNumber;
  int m_bAutoNumber = 0;
  std::string m_strExt;  // the extension as edited
  int m_bChangeExt = 0;
  int m_bNoAsk = 0;
  int m_bOverwrite = 0;
  int m_nChoice = 0;          // ChoiceAutoNumber 0, ChoiceChangeExt 1, ChoiceOverwrite 2
  std::string m_strFileName;  // full path of the name in use, shown in static 126

  // Centres the dialog, shows m_strFileName, takes the collision policy (Mode) and the
  // default extension (".txt" when none is stored) from the profile and checks the box of
  // that policy: 111 for 0, 112 for 2, 129 for any other value.
  bool OnInitDialog() override;
  // Takes the choice from the boxes (111, else 112, else 129). With none checked: a beep,
  // "Error!!", and the dialog stays open. While box 130 is checked the choice is stored as
  // the collision policy.
  void OnOK() override;
  // Escape and the close box: nothing happens.
  void OnCancel() override;

  // Check-box interplay and the extension check (the message table's handlers).
  void OnClickAutoNumber();
  void OnChangeExtEdit();  // the user's change of edit 114: "html" is refused
  void OnClickChangeExt();
  void OnClickOverwrite();
  void OnClickNoAsk();

 protected:
  void DoDataExchange(ui::DataExchange* dx) override;
  const ui::MessageMap* GetMessageMap() const override;
};

}  // namespace vintrel

#endif  // VINTREL_OUTPUT_VERIFY_DIALOG_H_
