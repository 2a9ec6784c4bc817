// The real main window: start-up, the frame with its menu and accelerators, the about box,
// help, the document commands and closing.

#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "app/main_frame.h"
#include "app/vintrel_app.h"
#include "app/vintrel_view.h"
#include "platform/ui/desktop.h"
#include "platform/ui/document.h"
#include "platform/ui/message_box.h"
#include "tests/app/running_app.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

// The running application with its frame the active window.
class RunningApp : public test::RunningApp {
 public:
  explicit RunningApp(const std::string& folder, const std::string& profile_text = "")
      : test::RunningApp(folder, profile_text) {
    // Keys reach the frame's accelerators once it is the active window.
    if (!QTest::qWaitForWindowActive(window())) qWarning("the frame did not become active");
  }
};

QStringList Entries(QWidget* list_widget) {
  QStringList entries;
  auto* list = qobject_cast<QListWidget*>(list_widget);
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void frameIsFixedAndTitled();
  void menuItemsEnabledByTheirHandlers_data();
  void menuItemsEnabledByTheirHandlers();
  void acceleratorsOfUnhandledCommandsDoNothing_data();
  void acceleratorsOfUnhandledCommandsDoNothing();
  void editKeysStayWithTheTextBox();
  void aboutBoxIsCentred();
  void helpPageMissing();
  void helpPageFound();
  void exitClosesWithoutAQuestion_data();
  void exitClosesWithoutAQuestion();
  void closingDuringARunWaitsForIt();
  void saveAsWritesAnEmptyFileAndRemembersIt();
  void reopeningListsEverythingOnce();
  void reopeningAMissingFile();
  void recentFilesKeepFour();

 private:
  test::ScopedTempDir folder_;
};

void MainWindowTest::frameIsFixedAndTitled() {
  RunningApp running(folder_.path());
  QMainWindow* window = running.window();
  QVERIFY(window->isVisible());
  QCOMPARE(window->windowTitle(), QString("Vintrel for Windows"));
  QCOMPARE(window->minimumSize(), window->maximumSize());
  QCOMPARE(window->centralWidget()->size(), QSize(562, 452));
  QCOMPARE(window->centralWidget()->geometry().bottom(), window->height() - 1);
  Qt::WindowFlags flags = window->windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!window->windowIcon().isNull());
  // Minimised and restored, it keeps its size and title.
  window->showMinimized();
  window->showNormal();
  QCOMPARE(window->centralWidget()->size(), QSize(562, 452));
  QCOMPARE(window->windowTitle(), QString("Vintrel for Windows"));
}

void MainWindowTest::menuItemsEnabledByTheirHandlers_data() {
  QTest::addColumn<int>("id");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("New") << 57600 << QString::fromUtf8("新規作成(&Nｼ)\tCtrl+N") << false;
  QTest::newRow("Open") << 57601 << QString::fromUtf8("開く(&Oﾋ)...\tCtrl+O") << false;
  QTest::newRow("Save") << 57603 << QString::fromUtf8("上書き保存(&Sｳ)\tCtrl+S") << true;
  QTest::newRow("Save As") << 57604 << QString::fromUtf8("名前を付けて保存(&Aﾅ)...") << true;
  QTest::newRow("recent files, none yet")
      << 57616 << QString::fromUtf8("以前開いたファイル") << false;
  QTest::newRow("Exit") << 57665 << QString::fromUtf8("終了(&Xﾘ)") << true;
  QTest::newRow("Undo") << 57643 << QString::fromUtf8("アンドゥ(&Uｱ)\tCtrl+Z") << false;
  QTest::newRow("Cut") << 57635 << QString::fromUtf8("切り取り(&Tｷ)\tCtrl+X") << false;
  QTest::newRow("Copy") << 57634 << QString::fromUtf8("コピー(&Cｺ)\tCtrl+C") << false;
  QTest::newRow("Paste") << 57637 << QString::fromUtf8("貼り付け(&Pﾊ)\tCtrl+V") << false;
  QTest::newRow("Options") << 32768 << QString::fromUtf8("ｵﾌﾟｼｮﾝ指定") << true;
  QTest::newRow("Help Contents") << 57666 << QString::fromUtf8("目次\tF1") << true;
  QTest::newRow("About") << 57664 << QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報(&Aﾊ)...") << true;
}

void MainWindowTest::menuItemsEnabledByTheirHandlers() {
  QFETCH(int, id);
  QFETCH(QString, text);
  QFETCH(bool, enabled);
  RunningApp running(folder_.path());
  // Opening the menus updates the items, as the user sees them.
  for (QMenu* menu : running.window()->menuBar()->findChildren<QMenu*>()) {
    emit menu->aboutToShow();
  }
  QAction* item = running.frame().FindMenuItem(id);
  QVERIFY(item != nullptr);
  QCOMPARE(item->text(), text);
  QCOMPARE(item->isEnabled(), enabled);
  QCOMPARE(running.frame().IsCommandEnabled(id), enabled);
}

void MainWindowTest::acceleratorsOfUnhandledCommandsDoNothing_data() {
  QTest::addColumn<QKeySequence>("key");
  QTest::newRow("Ctrl+N") << QKeySequence(Qt::CTRL | Qt::Key_N);
  QTest::newRow("Ctrl+O") << QKeySequence(Qt::CTRL | Qt::Key_O);
  QTest::newRow("Ctrl+V") << QKeySequence(Qt::CTRL | Qt::Key_V);
  QTest::newRow("Ctrl+X") << QKeySequence(Qt::CTRL | Qt::Key_X);
  QTest::newRow("Ctrl+Z") << QKeySequence(Qt::CTRL | Qt::Key_Z);
  QTest::newRow("Alt+Backspace") << QKeySequence(Qt::ALT | Qt::Key_Backspace);
  QTest::newRow("Shift+Delete") << QKeySequence(Qt::SHIFT | Qt::Key_Delete);
  QTest::newRow("Ctrl+Insert") << QKeySequence(Qt::CTRL | Qt::Key_Insert);
  QTest::newRow("Shift+Insert") << QKeySequence(Qt::SHIFT | Qt::Key_Insert);
  QTest::newRow("F6") << QKeySequence(Qt::Key_F6);
  QTest::newRow("Shift+F6") << QKeySequence(Qt::SHIFT | Qt::Key_F6);
}

void MainWindowTest::acceleratorsOfUnhandledCommandsDoNothing() {
  QFETCH(QKeySequence, key);
  RunningApp running(folder_.path());
  ui::ScopedMessageBoxCapture boxes;
  ui::ScopedDesktopCapture desktop;
  CVintrelView& view = running.view();
  std::string folder = view.m_strFolder;
  QStringList files = Entries(view.GetDlgItem(105));
  QWidget* list = view.GetDlgItem(105);
  list->setFocus();
  QTest::keySequence(running.window()->windowHandle(), key);
  QVERIFY(running.window()->isVisible());
  QVERIFY(boxes.events().empty());
  QVERIFY(desktop.opened().empty());
  QCOMPARE(desktop.save_prompts(), 0);
  QVERIFY(QApplication::activeModalWidget() == nullptr);
  QCOMPARE(view.m_strFolder, folder);
  QCOMPARE(Entries(view.GetDlgItem(105)), files);
  // The same way, a handled accelerator does reach its command.
  QTest::keyClick(running.window()->windowHandle(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(desktop.save_prompts(), 1);
}

void MainWindowTest::editKeysStayWithTheTextBox() {
  RunningApp running(folder_.path());
  auto* edit = qobject_cast<QLineEdit*>(running.view().GetDlgItem(102));
  edit->setFocus();
  edit->clear();
  QApplication::clipboard()->setText("/pasted/");
  QTest::keyClick(running.window()->windowHandle(), Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(edit->text(), QString("/pasted/"));
  QTest::keyClick(running.window()->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(edit->text(), QString());
}

void MainWindowTest::aboutBoxIsCentred() {
  RunningApp running(folder_.path());
  running.window()->move(3, 7);
  QRect area = QGuiApplication::primaryScreen()->geometry();
  QPoint where;
  QString caption;
  QString version;
  QTimer::singleShot(0, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    where = box->frameGeometry().topLeft();
    caption = box->windowTitle();
    version = box->findChild<QLabel*>("id132")->text();
    box->findChild<QPushButton*>("id1")->click();
  });
  QVERIFY(running.frame().OnCommand(57664));
  QCOMPARE(caption, QString::fromUtf8("VINTREL のバージョン情報"));
  QCOMPARE(version, QString("Vintrel for Win32 Ver. 1.02"));
  QCOMPARE(where, QPoint((area.width() - 434) / 2, (area.height() - 276) / 2));
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void MainWindowTest::helpPageMissing() {
  RunningApp running(folder_.path());
  std::vector<std::string> places = ui::Application::HelpFileCandidates();
  for (const std::string& place : places) {
    if (access(place.c_str(), F_OK) == 0) QSKIP("a help page is installed beside the tests");
  }
  ui::ScopedMessageBoxCapture boxes;
  ui::ScopedDesktopCapture desktop;
  QTest::keyClick(running.window()->windowHandle(), Qt::Key_F1);
  QVERIFY(desktop.opened().empty());
  QCOMPARE(boxes.texts().size(), size_t(1));
  QVERIFY(boxes.texts()[0].find(places[0]) != std::string::npos);
  QVERIFY(boxes.texts()[0].find("vintrel.html") != std::string::npos);
}

void MainWindowTest::helpPageFound() {
  RunningApp running(folder_.path());
  std::string beside = ui::Application::HelpFileCandidates().back();
  bool made = access(beside.c_str(), F_OK) != 0;
  if (made) {
    FILE* page = fopen(beside.c_str(), "w");
    if (page == nullptr) QSKIP("the test's folder is not writable");
    fputs("<html></html>\n", page);
    fclose(page);
  }
  ui::ScopedMessageBoxCapture boxes;
  ui::ScopedDesktopCapture desktop;
  QVERIFY(running.frame().OnCommand(57666));
  if (made) unlink(beside.c_str());
  QVERIFY(boxes.events().empty());
  QCOMPARE(desktop.opened().size(), size_t(1));
  QVERIFY(desktop.opened()[0].size() > 12);
  QCOMPARE(desktop.opened()[0].substr(desktop.opened()[0].size() - 12),
           std::string("vintrel.html"));
}

void MainWindowTest::exitClosesWithoutAQuestion_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("File Exit") << "exit";
  QTest::newRow("close box") << "close";
  QTest::newRow("Alt+F4") << "alt-f4";
}

void MainWindowTest::exitClosesWithoutAQuestion() {
  QFETCH(QString, how);
  RunningApp running(folder_.path());
  ui::ScopedMessageBoxCapture boxes;
  if (how == "exit") {
    QVERIFY(running.frame().OnCommand(57665));
  } else if (how == "close") {
    QVERIFY(running.window()->close());
  } else {
    QTest::keyClick(running.window()->windowHandle(), Qt::Key_F4, Qt::AltModifier);
  }
  QVERIFY(!running.window()->isVisible());
  QVERIFY(boxes.events().empty());
}

void MainWindowTest::closingDuringARunWaitsForIt() {
  RunningApp running(folder_.path());
  CVintrelView& view = running.view();
  view.m_bBusy = 1;
  QVERIFY(!running.window()->close());
  QVERIFY(running.window()->isVisible());
  QVERIFY(view.m_bClosing);
  // The run ends and closes the frame itself.
  view.m_bBusy = 0;
  running.frame().PostClose();
  QVERIFY(running.window()->isVisible());
  QTRY_VERIFY(!running.window()->isVisible());
}

void MainWindowTest::saveAsWritesAnEmptyFileAndRemembersIt() {
  RunningApp running(folder_.path());
  test::ScopedTempDir place;
  std::string target = place.WriteFile("doc.vin", "old content");
  ui::ScopedDesktopCapture desktop;
  desktop.set_save_file_name(target);
  QVERIFY(running.frame().OnCommand(57604));
  QCOMPARE(desktop.save_prompts(), 1);
  QCOMPARE(test::ReadFileBytes(target), std::string());
  QCOMPARE(running.view().GetDocument()->GetPathName(), target);
  QCOMPARE(running.app().recent_files(), std::vector<std::string>{target});
  QCOMPARE(running.app().GetProfileString("Recent File List", "File1", ""), target);
  // Save now stores at the known path without asking.
  place.WriteFile("doc.vin", "again");
  QVERIFY(running.frame().OnCommand(57603));
  QCOMPARE(desktop.save_prompts(), 1);
  QCOMPARE(test::ReadFileBytes(target), std::string());
  // The recent-file item takes the placeholder's place.
  running.frame().UpdateMenuState();
  QAction* first = running.frame().FindMenuItem(57616);
  QVERIFY(first->isEnabled());
  QVERIFY(first->text().endsWith(QString::fromStdString(target)));
  QVERIFY(first->text().startsWith("&1 "));

  // A file that cannot be written is named with the reason.
  ui::ScopedMessageBoxCapture boxes;
  desktop.set_save_file_name(place.path() + "/missing/doc.vin");
  QVERIFY(running.frame().OnCommand(57604));
  QCOMPARE(boxes.texts().size(), size_t(1));
  QVERIFY(boxes.texts()[0].find(place.path() + "/missing/doc.vin: ") == 0);
  QCOMPARE(running.view().GetDocument()->GetPathName(), target);
}

void MainWindowTest::reopeningListsEverythingOnce() {
  test::ScopedTempDir tree;
  tree.WriteFile("a.txt", "a\n");
  tree.MakeFolder("sub");
  RunningApp running(tree.path());
  std::string saved = running.config().WriteFile("saved.vin", "");
  CVintrelView& view = running.view();
  QStringList files = Entries(view.GetDlgItem(105));
  QStringList folders = Entries(view.GetDlgItem(103));
  QStringList drives = Entries(view.GetDlgItem(104));
  int filters = qobject_cast<QComboBox*>(view.GetDlgItem(107))->count();
  QVERIFY(running.app().OpenDocumentFile(saved));
  QCOMPARE(Entries(view.GetDlgItem(105)), files);
  QCOMPARE(Entries(view.GetDlgItem(103)), folders);
  QCOMPARE(Entries(view.GetDlgItem(104)), drives);
  QCOMPARE(qobject_cast<QComboBox*>(view.GetDlgItem(107))->count(), filters);
  QCOMPARE(running.app().recent_files().front(), saved);
  // Through the menu as well.
  running.frame().UpdateMenuState();
  QVERIFY(running.frame().OnCommand(57616));
  QCOMPARE(Entries(view.GetDlgItem(105)), files);
}

void MainWindowTest::reopeningAMissingFile() {
  RunningApp running(folder_.path());
  std::string gone = running.config().path() + "/gone.vin";
  running.app().AddToRecentFileList(gone);
  ui::ScopedMessageBoxCapture boxes;
  running.frame().UpdateMenuState();
  QVERIFY(running.frame().OnCommand(57616));
  QCOMPARE(boxes.texts().size(), size_t(1));
  QVERIFY(boxes.texts()[0].find(gone + ": ") == 0);
  QVERIFY(running.app().recent_files().empty());
  QCOMPARE(running.app().GetProfileString("Recent File List", "File1", "none"), std::string());
}

void MainWindowTest::recentFilesKeepFour() {
  RunningApp running(folder_.path(),
                     "[Recent File List]\r\nFile1=/a/1\r\nFile2=/a/2\r\nFile5=/a/5\r\n");
  QCOMPARE(running.app().recent_files(), (std::vector<std::string>{"/a/1", "/a/2"}));
  for (const char* path : {"/b/3", "/b/4", "/a/1", "/b/6"}) {
    running.app().AddToRecentFileList(path);
  }
  std::vector<std::string> expected = {"/b/6", "/a/1", "/b/4", "/b/3"};
  QCOMPARE(running.app().recent_files(), expected);
  for (int i = 0; i < 4; ++i) {
    QCOMPARE(running.app().GetProfileString("Recent File List", "File" + std::to_string(i + 1), ""),
             expected[static_cast<size_t>(i)]);
  }
  running.frame().UpdateMenuState();
  for (int i = 0; i < 4; ++i) QVERIFY(running.frame().FindMenuItem(57616 + i) != nullptr);
  QVERIFY(running.frame().FindMenuItem(57620) == nullptr);
}

}  // namespace vintrel

QTEST_MAIN(vintrel::MainWindowTest)
#include "main_window_test.moc"
