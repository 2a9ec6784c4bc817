// The confirmation dialog asked when an output name is in use: how it opens from the stored
// settings, the check-box interplay, the refusal of the extension "html", OK and what it
// stores, and the ways it does not close.

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>

#include "output/output_name.h"
#include "output/verify_dialog.h"
#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/ui/message_box.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

QCheckBox* Box(const CVerifyDialog& dialog, int id) {
  return qobject_cast<QCheckBox*>(dialog.GetDlgItem(id));
}

QLineEdit* ExtEdit(const CVerifyDialog& dialog) {
  return qobject_cast<QLineEdit*>(dialog.GetDlgItem(CVerifyDialog::kIdExtEdit));
}

// The check states of 111, 112, 129 and 130 as a text such as "1000".
QString Checks(const CVerifyDialog& dialog) {
  QString text;
  for (int id : {111, 112, 129, 130}) text += Box(dialog, id)->isChecked() ? '1' : '0';
  return text;
}

}  // namespace

class VerifyDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void opensFromTheStoredSettings_data();
  void opensFromTheStoredSettings();
  void checkBoxInterplay_data();
  void checkBoxInterplay();
  void htmlIsRefusedWhenTyped_data();
  void htmlIsRefusedWhenTyped();
  void okTakesTheChoice_data();
  void okTakesTheChoice();
  void okWithNothingCheckedKeepsTheDialogOpen();
  void escapeAndCloseBoxDoNothing();
  void modalRunReturnsTheAnswer();
  void opensCentredWithFocusOnOk();

 private:
  void WriteProfile(const std::string& text);
  std::string ProfileText() const;

  std::unique_ptr<test::ScopedTempDir> config_;
  std::unique_ptr<test::ScopedEnv> xdg_;
};

void VerifyDialogTest::init() {
  config_ = std::make_unique<test::ScopedTempDir>();
  xdg_ = std::make_unique<test::ScopedEnv>("XDG_CONFIG_HOME", config_->path());
}

void VerifyDialogTest::cleanup() {
  xdg_.reset();
  config_.reset();
  QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void VerifyDialogTest::WriteProfile(const std::string& text) {
  if (text != "(none)") config_->WriteFile("vintrel.INI", text);
}

std::string VerifyDialogTest::ProfileText() const { return test::ReadFileBytes(ProfilePath()); }

void VerifyDialogTest::opensFromTheStoredSettings_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("checks");  // 111 112 129 130
  QTest::addColumn<QString>("ext");
  QTest::newRow("nothing stored") << "(none)"
                                  << "1000"
                                  << ".txt";
  QTest::newRow("search free") << "[Filename]\nMode=0\n"
                               << "1000"
                               << ".txt";
  QTest::newRow("ask") << "[Filename]\nMode=1\n[Default]\nExt=.LOG\n"
                       << "0010"
                       << ".LOG";
  QTest::newRow("overwrite") << "[Filename]\nMode=2\n"
                             << "0100"
                             << ".txt";
  QTest::newRow("section in other case") << "[FILENAME]\nmode=2\n"
                                         << "0100"
                                         << ".txt";
  QTest::newRow("unknown policy 7") << "[Filename]\nMode=7\n"
                                    << "0010"
                                    << ".txt";
  QTest::newRow("negative policy") << "[Filename]\nMode=-1\n"
                                   << "0010"
                                   << ".txt";
  QTest::newRow("extension without dot") << "[Default]\nExt=txt\n"
                                         << "1000"
                                         << "txt";
  QTest::newRow("empty extension") << "[Default]\nExt=\n"
                                   << "1000"
                                   << "";
  QTest::newRow("stored html shows unrefused") << "[Default]\nExt=html\n"
                                               << "1000"
                                               << "html";
  QTest::newRow("Japanese extension") << "[Default]\nExt=.テキスト\n"
                                      << "1000"
                                      << ".テキスト";
}

void VerifyDialogTest::opensFromTheStoredSettings() {
  QFETCH(QString, profile);
  QFETCH(QString, checks);
  QFETCH(QString, ext);
  WriteProfile(profile.toStdString());
  ui::ScopedMessageBoxCapture capture;
  CVerifyDialog dialog;
  dialog.m_strFileName = "/data/out/REPORT.TXT";
  QVERIFY(dialog.Create());
  QCOMPARE(Checks(dialog), checks);
  QCOMPARE(ExtEdit(dialog)->text(), ext);
  QCOMPARE(qobject_cast<QLabel*>(dialog.GetDlgItem(CVerifyDialog::kIdFileName))->text(),
           QString("/data/out/REPORT.TXT"));
  // Only the user's changes are checked: the stored extension opens without a message.
  QCOMPARE(capture.events().size(), size_t{0});
}

void VerifyDialogTest::checkBoxInterplay_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("clicks");  // ids clicked in turn
  QTest::addColumn<QString>("checks");  // 111 112 129 130 afterwards
  const QString search = "[Filename]\nMode=0\n";
  const QString ask = "[Filename]\nMode=1\n";
  const QString overwrite = "[Filename]\nMode=2\n";
  QTest::newRow("the checked 111 stays checked") << search << "111"
                                                 << "1000";
  QTest::newRow("the checked 112 stays checked") << overwrite << "112"
                                                 << "0100";
  QTest::newRow("the checked 129 stays checked") << ask << "129"
                                                 << "0010";
  QTest::newRow("111 clears 129") << ask << "111"
                                  << "1000";
  QTest::newRow("112 clears 111") << search << "112"
                                  << "0100";
  QTest::newRow("129 clears 112") << overwrite << "129"
                                  << "0010";
  QTest::newRow("130 with 111") << search << "130"
                                << "1001";
  QTest::newRow("130 with 112") << overwrite << "130"
                                << "0101";
  QTest::newRow("130 with 129 is refused") << ask << "130"
                                           << "0010";
  QTest::newRow("129 clears 111 and 130") << search << "130,129"
                                          << "0010";
  QTest::newRow("130 again after 129") << search << "130,129,130"
                                       << "0010";
  QTest::newRow("130 stays when moving to 112") << search << "130,112"
                                                << "0101";
  QTest::newRow("130 toggles off") << search << "130,130"
                                   << "1000";
  QTest::newRow("round the three") << search << "112,129,111"
                                   << "1000";
}

void VerifyDialogTest::checkBoxInterplay() {
  QFETCH(QString, profile);
  QFETCH(QString, clicks);
  QFETCH(QString, checks);
  WriteProfile(profile.toStdString());
  CVerifyDialog dialog;
  QVERIFY(dialog.Create());
  for (const QString& id : clicks.split(',')) Box(dialog, id.toInt())->click();
  QCOMPARE(Checks(dialog), checks);
}

void VerifyDialogTest::htmlIsRefusedWhenTyped_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");  // the edit box afterwards
  QTest::addColumn<int>("refusals");
  QTest::newRow("html") << "html"
                        << "" << 1;
  QTest::newRow("HTML") << "HTML"
                        << "" << 1;
  QTest::newRow("HtMl") << "HtMl"
                        << "" << 1;
  QTest::newRow("with a dot") << ".html"
                              << ".html" << 0;
  QTest::newRow("three letters") << "htm"
                                 << "htm" << 0;
  QTest::newRow("prefix before") << "xhtml"
                                 << "xhtml" << 0;
  QTest::newRow("typing on after the refusal") << "htmlx"
                                               << "x" << 1;
  QTest::newRow("twice") << "htmlhtml"
                         << "" << 2;
}

void VerifyDialogTest::htmlIsRefusedWhenTyped() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(int, refusals);
  CVerifyDialog dialog;
  QVERIFY(dialog.Create());
  QLineEdit* edit = ExtEdit(dialog);
  edit->clear();
  ui::ScopedMessageBoxCapture capture;
  QTest::keyClicks(edit, typed);
  QCOMPARE(edit->text(), shown);
  QCOMPARE(dialog.m_strExt, shown.toStdString());
  QCOMPARE(capture.beeps(), refusals);
  QCOMPARE(static_cast<int>(capture.texts().size()), refusals);
  for (const ui::ScopedMessageBoxCapture::Event& event : capture.events()) {
    if (event.beep) continue;
    QCOMPARE(event.text, std::string("Incredible!! DO NOT USE THIS EXTENSION!!"));
    QCOMPARE(event.owner, dialog.widget());
  }
  // Each refusal beeps first, then shows the message.
  if (refusals > 0) QVERIFY(capture.events().front().beep);
}

void VerifyDialogTest::okTakesTheChoice_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("clicks");  // ids clicked before OK; empty for none
  QTest::addColumn<int>("choice");
  QTest::addColumn<int>("noAsk");
  QTest::addColumn<int>("storedMode");  // Mode afterwards; -9 when not stored
  const QString ask = "[Filename]\nMode=1\n";
  QTest::newRow("untouched ask: change extension") << ask << "" << 1 << 0 << 1;
  QTest::newRow("automatic numbering, asked again") << ask << "111" << 0 << 0 << 1;
  QTest::newRow("overwrite, asked again") << ask << "112" << 2 << 0 << 1;
  QTest::newRow("automatic numbering for good") << ask << "111,130" << 0 << 1 << 0;
  QTest::newRow("overwrite for good") << ask << "112,130" << 2 << 1 << 2;
  QTest::newRow("130 cleared again") << ask << "112,130,130" << 2 << 0 << 1;
  QTest::newRow("nothing stored before") << "(none)"
                                         << "112,130" << 2 << 1 << 2;
  QTest::newRow("untouched with nothing stored") << "(none)"
                                                 << "" << 0 << 0 << -9;
}

void VerifyDialogTest::okTakesTheChoice() {
  QFETCH(QString, profile);
  QFETCH(QString, clicks);
  QFETCH(int, choice);
  QFETCH(int, noAsk);
  QFETCH(int, storedMode);
  WriteProfile(profile.toStdString());
  ui::ScopedMessageBoxCapture capture;
  CVerifyDialog dialog;
  QVERIFY(dialog.Create());
  ExtEdit(dialog)->setText(".OUT");
  if (!clicks.isEmpty()) {
    for (const QString& id : clicks.split(',')) Box(dialog, id.toInt())->click();
  }
  qobject_cast<QPushButton*>(dialog.GetDlgItem(ui::IDOK))->click();
  QCOMPARE(dialog.result(), ui::IDOK);
  QVERIFY(dialog.dialog() == nullptr || !dialog.dialog()->isVisible());
  QCOMPARE(dialog.m_nChoice, choice);
  QCOMPARE(dialog.m_bNoAsk, noAsk);
  QCOMPARE(dialog.m_strExt, std::string(".OUT"));
  QCOMPARE(capture.events().size(), size_t{0});
  const Profile stored(ProfilePath());
  QCOMPARE(stored.GetProfileInt("Filename", "Mode", -9), storedMode);
  // The extension is never stored.
  QCOMPARE(stored.GetProfileString("Default", "Ext", "(none)"),
           std::string(profile.contains("Ext=") ? "" : "(none)"));
}

void VerifyDialogTest::okWithNothingCheckedKeepsTheDialogOpen() {
  WriteProfile("[Filename]\nMode=2\n");
  ui::ScopedMessageBoxCapture capture;
  CVerifyDialog dialog;
  QVERIFY(dialog.Create());
  dialog.m_nChoice = 5;
  // The interplay never allows this; the program could still get there.
  dialog.m_btnOverwrite.SetCheck(0);
  qobject_cast<QPushButton*>(dialog.GetDlgItem(ui::IDOK))->click();
  QCOMPARE(dialog.result(), 0);
  QVERIFY(dialog.dialog() != nullptr);
  QCOMPARE(dialog.m_nChoice, 5);
  QCOMPARE(capture.events().size(), size_t{2});
  QVERIFY(capture.events()[0].beep);
  QCOMPARE(capture.events()[1].text, std::string("Error!!"));
  QCOMPARE(capture.events()[1].owner, dialog.widget());
  // Checking a box makes OK work.
  Box(dialog, 129)->click();
  qobject_cast<QPushButton*>(dialog.GetDlgItem(ui::IDOK))->click();
  QCOMPARE(dialog.result(), ui::IDOK);
  QCOMPARE(dialog.m_nChoice, static_cast<int>(ChoiceChangeExt));
}

void VerifyDialogTest::escapeAndCloseBoxDoNothing() {
  CVerifyDialog dialog;
  QString still_open;  // after Escape, the close box and a reject
  QTimer::singleShot(0, [&dialog, &still_open] {
    QDialog* window = dialog.dialog();
    QTest::keyClick(window, Qt::Key_Escape);
    still_open += window->isVisible() ? '1' : '0';
    window->close();  // the close box
    still_open += window->isVisible() ? '1' : '0';
    window->reject();
    still_open += window->isVisible() ? '1' : '0';
    qobject_cast<QPushButton*>(dialog.GetDlgItem(ui::IDOK))->click();
  });
  QCOMPARE(dialog.DoModal(), ui::IDOK);
  QCOMPARE(still_open, QString("111"));
  QCOMPARE(dialog.m_nChoice, static_cast<int>(ChoiceAutoNumber));
}

void VerifyDialogTest::modalRunReturnsTheAnswer() {
  WriteProfile("[Filename]\nMode=1\n[Default]\nExt=.DAT\n");
  CVerifyDialog dialog;
  dialog.m_strFileName = "/x/REPORT.DAT";
  QTimer::singleShot(0, [&dialog] {
    QLineEdit* edit = ExtEdit(dialog);
    edit->selectAll();
    QTest::keyClicks(edit, ".new");
    QTest::keyClick(dialog.dialog(), Qt::Key_Return);  // OK is the default button
  });
  QCOMPARE(dialog.DoModal(), ui::IDOK);
  QCOMPARE(dialog.m_nChoice, static_cast<int>(ChoiceChangeExt));
  QCOMPARE(dialog.m_strExt, std::string(".new"));
  QVERIFY(dialog.dialog() == nullptr);
}

void VerifyDialogTest::opensCentredWithFocusOnOk() {
  CVerifyDialog dialog;
  QPoint offset;
  QString focus;  // the object name of the widget with the focus
  QTimer::singleShot(0, [&dialog, &offset, &focus] {
    QDialog* window = dialog.dialog();
    // The window sits in the middle of the screen, up to the size of a window frame, which
    // is not known before the window is first shown.
    offset = window->frameGeometry().center() - window->screen()->geometry().center();
    window->activateWindow();
    if (QTest::qWaitForWindowActive(window) && QApplication::focusWidget() != nullptr) {
      focus = QApplication::focusWidget()->objectName();
    }
    qobject_cast<QPushButton*>(dialog.GetDlgItem(ui::IDOK))->click();
  });
  QCOMPARE(dialog.DoModal(), ui::IDOK);
  QVERIFY2(offset.manhattanLength() <= 16,
           qPrintable(QString("off centre by %1,%2").arg(offset.x()).arg(offset.y())));
  QCOMPARE(focus, QString("id1"));
}

}  // namespace vintrel

QTEST_MAIN(vintrel::VerifyDialogTest)
#include "verify_dialog_test.moc"
