// Data exchange between members and controls, and the message tables that deliver control
// notifications to member handlers.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "platform/ui/controls.h"
#include "platform/ui/data_exchange.h"
#include "platform/ui/dialog.h"
#include "platform/ui/form_view.h"
#include "platform/ui/frame_window.h"

namespace vintrel::ui {
namespace {

// A dialog on template 104: check boxes 111, 112, 129, 130, edit 114, static 126.
class ExchangeDialog : public Dialog {
 public:
  ExchangeDialog() : Dialog(104) {}

  Edit m_edtExt;
  Static m_stcFileName;
  int m_bAutoNumber = 0;
  int m_bOverwrite = 0;
  std::string m_strExt;
  std::string m_strFileName;

  int ext_changes = 0;
  std::string ext_seen_in_handler;
  int clicks_111 = 0;
  int ok_presses = 0;

  void OnChangeExt() {
    ++ext_changes;
    UpdateData(true);
    ext_seen_in_handler = m_strExt;
  }
  void OnClick111() { ++clicks_111; }

 protected:
  void DoDataExchange(DataExchange* dx) override {
    DDX_Control(dx, 114, m_edtExt);
    DDX_Control(dx, 126, m_stcFileName);
    DDX_Check(dx, 111, m_bAutoNumber);
    DDX_Text(dx, 114, m_strExt);
    DDX_Check(dx, 112, m_bOverwrite);
    DDX_Text(dx, 126, m_strFileName);
  }
  const MessageMap* GetMessageMap() const override {
    static const MessageMapOf<ExchangeDialog> map(
        Dialog::GetMessageMap(), {
                                     {Notify::kChange, 114, &ExchangeDialog::OnChangeExt},
                                     {Notify::kClicked, 111, &ExchangeDialog::OnClick111},
                                 });
    return &map;
  }
};

// A derived class adds its own entry and keeps the base class's entries.
class DerivedDialog : public ExchangeDialog {
 public:
  int clicks_112 = 0;
  void OnClick112() { ++clicks_112; }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMapOf<DerivedDialog> map(
        ExchangeDialog::GetMessageMap(), {
                                             {Notify::kClicked, 112, &DerivedDialog::OnClick112},
                                         });
    return &map;
  }
};

// A dialog whose Cancel keeps it open, as a confirmation that must be answered.
class MustAnswerDialog : public Dialog {
 public:
  MustAnswerDialog() : Dialog(104) {}
  int cancels = 0;
  void OnCancel() override { ++cancels; }
};

// The main form template in a frame: list boxes 103 to 105, combo box 107.
class NotifyForm : public FormView {
 public:
  NotifyForm() : FormView(2) {}
  std::vector<std::pair<Notify, int>> seen;
  void Record(Notify code, int id) { seen.emplace_back(code, id); }
  void OnControlNotify(Notify code, int id) override {
    if (!IsTransferringData()) Record(code, id);
    FormView::OnControlNotify(code, id);
  }
};

int Count(const std::vector<std::pair<Notify, int>>& seen, Notify code, int id) {
  return static_cast<int>(std::count(seen.begin(), seen.end(), std::make_pair(code, id)));
}

}  // namespace

class DataExchangeTest : public QObject {
  Q_OBJECT

 private slots:
  void membersToControlsAndBack_data();
  void membersToControlsAndBack();
  void transferDoesNotNotify();
  void programTextChangeNotifiesOutsideTransfer();
  void bytesThatAreNotUtf8SurviveTheRoundTrip();
  void derivedTableKeepsBaseEntries();
  void okTakesTheValuesAndEnds();
  void cancelMayKeepTheDialogOpen();
  void enterPressesTheDefaultButton();
  void comboNotifications();
  void listDoubleClick();
  void enterInAFormPressesItsDefaultButton();
  void unboundControlsAreHarmless();
};

void DataExchangeTest::membersToControlsAndBack_data() {
  QTest::addColumn<int>("autoNumber");
  QTest::addColumn<int>("overwrite");
  QTest::addColumn<QString>("ext");
  QTest::newRow("both clear, empty text") << 0 << 0 << QString();
  QTest::newRow("one checked") << 1 << 0 << QString(".txt");
  QTest::newRow("other checked, Japanese") << 0 << 1 << QString::fromUtf8("拡張子");
  QTest::newRow("both checked, blanks kept") << 1 << 1 << QString("  a b  ");
}

void DataExchangeTest::membersToControlsAndBack() {
  QFETCH(int, autoNumber);
  QFETCH(int, overwrite);
  QFETCH(QString, ext);
  ExchangeDialog dialog;
  QVERIFY(dialog.Create());
  dialog.m_bAutoNumber = autoNumber;
  dialog.m_bOverwrite = overwrite;
  dialog.m_strExt = ext.toStdString();
  dialog.m_strFileName = "/tmp/name.txt";
  QVERIFY(dialog.UpdateData(false));
  QCOMPARE(qobject_cast<QCheckBox*>(dialog.GetDlgItem(111))->isChecked(), autoNumber == 1);
  QCOMPARE(qobject_cast<QCheckBox*>(dialog.GetDlgItem(112))->isChecked(), overwrite == 1);
  QCOMPARE(qobject_cast<QLineEdit*>(dialog.GetDlgItem(114))->text(), ext);
  QCOMPARE(qobject_cast<QLabel*>(dialog.GetDlgItem(126))->text(), QString("/tmp/name.txt"));

  // The user changes every control; the members take the controls' values.
  qobject_cast<QCheckBox*>(dialog.GetDlgItem(111))->setChecked(autoNumber == 0);
  qobject_cast<QCheckBox*>(dialog.GetDlgItem(112))->setChecked(overwrite == 0);
  qobject_cast<QLineEdit*>(dialog.GetDlgItem(114))->setText(ext + "x");
  QVERIFY(dialog.UpdateData(true));
  QCOMPARE(dialog.m_bAutoNumber, autoNumber == 0 ? 1 : 0);
  QCOMPARE(dialog.m_bOverwrite, overwrite == 0 ? 1 : 0);
  QCOMPARE(QString::fromStdString(dialog.m_strExt), ext + "x");
  QCOMPARE(dialog.m_edtExt.GetDlgCtrlID(), 114);
  QCOMPARE(dialog.m_stcFileName.GetWindowText(), std::string("/tmp/name.txt"));
}

void DataExchangeTest::transferDoesNotNotify() {
  ExchangeDialog dialog;
  QVERIFY(dialog.Create());
  dialog.ext_changes = 0;
  dialog.m_strExt = "html";
  dialog.UpdateData(false);
  QCOMPARE(dialog.ext_changes, 0);
  QCOMPARE(dialog.m_edtExt.GetWindowText(), std::string("html"));

  // Typing notifies, and the handler's own exchange inside does not notify again.
  auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(114));
  edit->clear();
  dialog.ext_changes = 0;
  QTest::keyClicks(edit, "abc");
  QCOMPARE(dialog.ext_changes, 3);
  QCOMPARE(dialog.ext_seen_in_handler, std::string("abc"));
}

void DataExchangeTest::programTextChangeNotifiesOutsideTransfer() {
  ExchangeDialog dialog;
  QVERIFY(dialog.Create());
  dialog.ext_changes = 0;
  dialog.m_edtExt.SetWindowText(".doc");
  QCOMPARE(dialog.ext_changes, 1);
  QCOMPARE(dialog.ext_seen_in_handler, std::string(".doc"));
}

void DataExchangeTest::bytesThatAreNotUtf8SurviveTheRoundTrip() {
  ExchangeDialog dialog;
  QVERIFY(dialog.Create());
  const std::string bytes = std::string("/tmp/\xff\xfe") + "\x95\x5c.TXT";
  dialog.m_strExt = bytes;
  dialog.m_strFileName = bytes;
  dialog.UpdateData(false);
  dialog.m_strExt.clear();
  dialog.m_strFileName.clear();
  dialog.UpdateData(true);
  QCOMPARE(dialog.m_strExt, bytes);
  QCOMPARE(dialog.m_strFileName, bytes);
  // Once the user edits the text, it is what is shown.
  qobject_cast<QLineEdit*>(dialog.GetDlgItem(114))->setText("new");
  dialog.UpdateData(true);
  QCOMPARE(dialog.m_strExt, std::string("new"));
}

void DataExchangeTest::derivedTableKeepsBaseEntries() {
  DerivedDialog dialog;
  QVERIFY(dialog.Create());
  qobject_cast<QCheckBox*>(dialog.GetDlgItem(111))->click();
  qobject_cast<QCheckBox*>(dialog.GetDlgItem(112))->click();
  qobject_cast<QCheckBox*>(dialog.GetDlgItem(129))->click();
  QCOMPARE(dialog.clicks_111, 1);
  QCOMPARE(dialog.clicks_112, 1);
  QVERIFY(dialog.HasHandler(Notify::kClicked, 111));
  QVERIFY(!dialog.HasHandler(Notify::kClicked, 129));
}

void DataExchangeTest::okTakesTheValuesAndEnds() {
  ExchangeDialog dialog;
  QTimer::singleShot(0, [&] {
    qobject_cast<QCheckBox*>(dialog.GetDlgItem(112))->click();
    qobject_cast<QLineEdit*>(dialog.GetDlgItem(114))->setText(".bak");
    qobject_cast<QPushButton*>(dialog.GetDlgItem(IDOK))->click();
  });
  QCOMPARE(dialog.DoModal(), int(IDOK));
  QCOMPARE(dialog.m_bOverwrite, 1);
  QCOMPARE(dialog.m_strExt, std::string(".bak"));
}

void DataExchangeTest::cancelMayKeepTheDialogOpen() {
  MustAnswerDialog dialog;
  QTimer::singleShot(0, [&] {
    QWidget* shown = dialog.widget();
    QTest::keyClick(shown, Qt::Key_Escape);
    shown->close();
    QVERIFY(shown->isVisible());
    QCOMPARE(dialog.cancels, 2);
    qobject_cast<QPushButton*>(dialog.GetDlgItem(IDOK))->click();
  });
  QCOMPARE(dialog.DoModal(), int(IDOK));
}

void DataExchangeTest::enterPressesTheDefaultButton() {
  ExchangeDialog dialog;
  QTimer::singleShot(0, [&] {
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(114));
    edit->setFocus();
    QTest::keyClicks(edit, ".md");
    QTest::keyClick(edit, Qt::Key_Return);
  });
  QCOMPARE(dialog.DoModal(), int(IDOK));
  QCOMPARE(dialog.m_strExt, std::string(".md"));
}

void DataExchangeTest::comboNotifications() {
  FrameWindow frame;
  QVERIFY(frame.LoadFrame(2));
  auto owned = std::make_unique<NotifyForm>();
  NotifyForm* form = owned.get();
  QVERIFY(form->Create(&frame));
  frame.SetActiveView(std::move(owned));
  ComboBox combo;
  combo.Attach(form->GetDlgItem(107));
  combo.AddString("*.txt");
  combo.AddString("*.*");
  QVERIFY(form->seen.empty());

  auto* box = qobject_cast<QComboBox*>(form->GetDlgItem(107));
  QTest::keyClicks(box->lineEdit(), "ab");
  QCOMPARE(Count(form->seen, Notify::kEditUpdate, 107), 2);
  QCOMPARE(Count(form->seen, Notify::kEditChange, 107), 2);
  // An update comes before its change.
  QCOMPARE(form->seen.front().first, Notify::kEditUpdate);

  form->seen.clear();
  combo.SetWindowText("x");
  combo.SetCurSel(1);
  QVERIFY(form->seen.empty());

  box->showPopup();
  box->hidePopup();
  QCOMPARE(Count(form->seen, Notify::kCloseUp, 107), 1);
  emit box->activated(0);
  QCOMPARE(Count(form->seen, Notify::kSelChange, 107), 1);
}

void DataExchangeTest::listDoubleClick() {
  FrameWindow frame;
  QVERIFY(frame.LoadFrame(2));
  auto owned = std::make_unique<NotifyForm>();
  NotifyForm* form = owned.get();
  QVERIFY(form->Create(&frame));
  frame.SetActiveView(std::move(owned));
  frame.ShowWindow();
  ListBox list;
  list.Attach(form->GetDlgItem(105));
  list.AddString("b.txt");
  list.AddString("a.txt");
  list.SetCurSel(0);
  QVERIFY(form->seen.empty());

  auto* widget = qobject_cast<QListWidget*>(form->GetDlgItem(105));
  QRect row = widget->visualItemRect(widget->item(1));
  QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, row.center());
  QCOMPARE(Count(form->seen, Notify::kDoubleClicked, 105), 1);
  QVERIFY(Count(form->seen, Notify::kSelChange, 105) >= 1);
  QCOMPARE(list.GetCurSel(), 1);
  QCOMPARE(list.GetText(list.GetCurSel()), std::string("b.txt"));
}

void DataExchangeTest::enterInAFormPressesItsDefaultButton() {
  FrameWindow frame;
  QVERIFY(frame.LoadFrame(2));
  auto owned = std::make_unique<NotifyForm>();
  NotifyForm* form = owned.get();
  QVERIFY(form->Create(&frame));
  frame.SetActiveView(std::move(owned));
  frame.ShowWindow();
  auto* box = qobject_cast<QComboBox*>(form->GetDlgItem(107));
  auto* list = form->GetDlgItem(105);
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  QTest::keyClick(list, Qt::Key_Enter);
  QCOMPARE(Count(form->seen, Notify::kClicked, 106), 2);
  // A disabled start button is not pressed.
  Button start;
  start.Attach(form->GetDlgItem(106));
  start.EnableWindow(false);
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  QCOMPARE(Count(form->seen, Notify::kClicked, 106), 2);
  // Once the start button has had the focus and lost it (a run disables it, which moves
  // the focus on), Enter still presses it.
  start.EnableWindow(true);
  frame.widget()->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(frame.widget()));
  form->GetDlgItem(106)->setFocus();
  QTRY_VERIFY(form->GetDlgItem(106)->hasFocus());
  form->GetDlgItem(102)->setFocus();
  QTRY_VERIFY(form->GetDlgItem(102)->hasFocus());
  QTest::keyClick(form->GetDlgItem(102), Qt::Key_Return);
  QCOMPARE(Count(form->seen, Notify::kClicked, 106), 3);
}

void DataExchangeTest::unboundControlsAreHarmless() {
  ListBox list;
  ComboBox combo;
  Button button;
  QCOMPARE(list.AddString("a"), kListError);
  QCOMPARE(list.GetCount(), 0);
  QCOMPARE(list.GetCurSel(), kListError);
  QCOMPARE(list.GetText(0), std::string());
  QCOMPARE(combo.GetLBText(0), std::string());
  QCOMPARE(button.GetCheck(), 0);
  button.EnableWindow(false);
  QVERIFY(!button.IsWindowEnabled());

  // A control object outlives its window without harm.
  {
    ExchangeDialog dialog;
    QVERIFY(dialog.Create());
    button.Attach(dialog.GetDlgItem(111));
    QVERIFY(button.IsBound());
  }
  QVERIFY(!button.IsBound());
  button.SetCheck(1);
  QCOMPARE(button.GetCheck(), 0);
}

}  // namespace vintrel::ui

QTEST_MAIN(vintrel::ui::DataExchangeTest)
#include "data_exchange_test.moc"
