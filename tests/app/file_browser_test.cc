// The main form as a file browser: start-up lists, folders, drives, the filter box and
// the file list, driven through the real main window.

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include "app/vintrel_app.h"
#include "app/vintrel_view.h"
#include "platform/core/drives.h"
#include "tests/app/running_app.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

// The running application with the form's controls at hand.
class RunningApp : public test::RunningApp {
 public:
  using test::RunningApp::RunningApp;

  QListWidget* list(int id) { return qobject_cast<QListWidget*>(view().GetDlgItem(id)); }
  QStringList entries(int id) {
    QStringList texts;
    for (int i = 0; i < list(id)->count(); ++i) texts << list(id)->item(i)->text();
    return texts;
  }
  QComboBox* filter() { return qobject_cast<QComboBox*>(view().GetDlgItem(107)); }
  QString folder_text() { return qobject_cast<QLineEdit*>(view().GetDlgItem(102))->text(); }
  QString status() { return qobject_cast<QLabel*>(view().GetDlgItem(108))->text(); }

  // Double-clicks the entry TEXT of list ID with the mouse, as the user does.
  void DoubleClick(int id, const QString& text) {
    QListWidget* widget = list(id);
    const QList<QListWidgetItem*> found = widget->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    widget->scrollToItem(found.first());
    QPoint at = widget->visualItemRect(found.first()).center();
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget->viewport(), Qt::LeftButton, {}, at);
  }
};

// A folder with folders, files, a hidden file and folder, a FIFO, a read-only file and a
// dangling link.
void MakeTree(const test::ScopedTempDir& tree) {
  tree.MakeFolder("sub1/deeper");
  tree.MakeFolder("Sub2");
  tree.MakeFolder(".hidden_folder");
  tree.WriteFile("a.txt", "a\n");
  tree.WriteFile("B.TXT", "b\n");
  tree.WriteFile("c.doc", "c\n");
  tree.WriteFile(".hidden.txt", "h\n");
  tree.WriteFile("sub1/inner.txt", "i\n");
  std::string read_only = tree.WriteFile("read-only.txt", "r\n");
  chmod(read_only.c_str(), 0444);
  mkfifo(tree.Child("pipe").c_str(), 0600);
  if (symlink("nowhere", tree.Child("dangling").c_str()) != 0) qWarning("no link made");
}

}  // namespace

class FileBrowserTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void startUpFillsTheLists();
  void startUpFilters_data();
  void startUpFilters();
  void folderNavigation_data();
  void folderNavigation();
  void upToTheRoot();
  void drives();
  void filterBoxRelists();
  void typedFolderIsTakenAsTyped();
  void fileDoubleClickNarrowsTheFilter();
  void doubleClickWithoutSelection();
  void overlongPathIsNotEntered();
  void namesThatAreNotUtf8();

 private:
  test::ScopedTempDir tree_;
};

void FileBrowserTest::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  MakeTree(tree_);
}

void FileBrowserTest::startUpFillsTheLists() {
  RunningApp running(tree_.path());
  QCOMPARE(running.folder_text(), QString::fromStdString(tree_.folder()));
  QCOMPARE(running.view().m_strFolder, tree_.folder());
  QCOMPARE(running.entries(103), (QStringList{"[..]", "[sub1]", "[Sub2]"}));
  QCOMPARE(running.entries(105),
           (QStringList{"a.txt", "B.TXT", "c.doc", "dangling", "read-only.txt"}));
  QVERIFY(running.entries(104).contains("[-/-]"));
  QCOMPARE(running.filter()->currentText(), QString("*.*"));
  QStringList filters;
  for (int i = 0; i < running.filter()->count(); ++i) filters << running.filter()->itemText(i);
  QCOMPARE(filters, (QStringList{"*.*", "*.doc", "*.txt"}));
  QCOMPARE(running.status(), QString::fromUtf8("処理状況表示コーナー"));
  QCOMPARE(qobject_cast<QLabel*>(running.view().GetDlgItem(133))->text(), QString());
  QCOMPARE(running.view().m_bBusy, 0);
  QVERIFY(running.view().widget()->acceptDrops());
}

void FileBrowserTest::startUpFilters_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("filterText");
  QTest::addColumn<QStringList>("filterList");
  QTest::addColumn<QStringList>("files");
  QTest::newRow("no profile") << QString() << "*.*" << QStringList{"*.*", "*.doc", "*.txt"}
                              << QStringList{"a.txt", "B.TXT", "c.doc", "dangling",
                                             "read-only.txt"};
  QTest::newRow("starting filter, any case of the section name")
      << "[INITIAL]\r\nFilename=*.TXT\r\n"
      << "*.TXT" << QStringList{"*.*", "*.doc", "*.txt"}
      << QStringList{"a.txt", "B.TXT", "read-only.txt"};
  QString ten = "[Initial]\r\n";
  for (int n = 1; n <= 11; ++n) ten += QString("UserDef%1=u%2*.x%1\r\n").arg(n).arg(11 - n);
  QTest::newRow("ten user filters sorted in, the eleventh never read")
      << ten << "*.*"
      << QStringList{"*.*",    "*.doc",  "*.txt",  "u1*.x10", "u10*.x1", "u2*.x9", "u3*.x8",
                     "u4*.x7", "u5*.x6", "u6*.x5", "u7*.x4",  "u8*.x3",  "u9*.x2"}
      << QStringList{"a.txt", "B.TXT", "c.doc", "dangling", "read-only.txt"};
  QTest::newRow("empty entries left out, duplicates kept")
      << "[Initial]\r\nUserDef1=*.txt\r\nUserDef2=\r\nUserDef3=*.c\r\nFilename=c.*\r\n"
      << "c.*" << QStringList{"*.*", "*.c", "*.doc", "*.txt", "*.txt"} << QStringList{"c.doc"};
}

void FileBrowserTest::startUpFilters() {
  QFETCH(QString, profile);
  QFETCH(QString, filterText);
  QFETCH(QStringList, filterList);
  QFETCH(QStringList, files);
  RunningApp running(tree_.path(), profile.toStdString());
  QCOMPARE(running.filter()->currentText(), filterText);
  QStringList filters;
  for (int i = 0; i < running.filter()->count(); ++i) filters << running.filter()->itemText(i);
  QCOMPARE(filters, filterList);
  QCOMPARE(running.entries(105), files);
}

void FileBrowserTest::folderNavigation_data() {
  QTest::addColumn<QStringList>("clicks");
  QTest::addColumn<QString>("folder");  // below the tree
  QTest::addColumn<QStringList>("folders");
  QTest::addColumn<QStringList>("files");
  QTest::newRow("into a folder") << QStringList{"[sub1]"} << "sub1/"
                                 << QStringList{"[..]", "[deeper]"} << QStringList{"inner.txt"};
  QTest::newRow("two down, one up") << QStringList{"[sub1]", "[deeper]", "[..]"} << "sub1/"
                                    << QStringList{"[..]", "[deeper]"} << QStringList{"inner.txt"};
  QTest::newRow("down and back up")
      << QStringList{"[Sub2]", "[..]"} << "" << QStringList{"[..]", "[sub1]", "[Sub2]"}
      << QStringList{"a.txt", "B.TXT", "c.doc", "dangling", "read-only.txt"};
  QTest::newRow("real letter case kept")
      << QStringList{"[Sub2]"} << "Sub2/" << QStringList{"[..]"} << QStringList{};
}

void FileBrowserTest::folderNavigation() {
  QFETCH(QStringList, clicks);
  QFETCH(QString, folder);
  QFETCH(QStringList, folders);
  QFETCH(QStringList, files);
  RunningApp running(tree_.path());
  for (const QString& click : clicks) running.DoubleClick(103, click);
  QString expected = QString::fromStdString(tree_.folder()) + folder;
  QCOMPARE(QString::fromStdString(running.view().m_strFolder), expected);
  QCOMPARE(running.folder_text(), expected);
  QCOMPARE(running.entries(103), folders);
  QCOMPARE(running.entries(105), files);
}

void FileBrowserTest::upToTheRoot() {
  RunningApp running(tree_.path());
  for (int guard = 0; guard < 64 && running.entries(103).contains("[..]"); ++guard) {
    running.DoubleClick(103, "[..]");
  }
  QCOMPARE(running.view().m_strFolder, std::string("/"));
  QCOMPARE(running.folder_text(), QString("/"));
  QVERIFY(!running.entries(103).contains("[..]"));
  QVERIFY(running.entries(103).contains("[tmp]") || running.entries(103).contains("[usr]"));
}

void FileBrowserTest::drives() {
  RunningApp running(tree_.path());
  std::vector<std::string> mounts = ListDrives();
  std::string home = DriveOfFolder(tree_.folder(), mounts);
  QVERIFY(!home.empty());
  // The drive of the current folder keeps the folder.
  running.DoubleClick(104, QString::fromStdString(DriveEntryText(home)));
  QCOMPARE(running.view().m_strFolder, tree_.folder());
  QCOMPARE(running.entries(103), (QStringList{"[..]", "[sub1]", "[Sub2]"}));
  // Another drive goes to its mount point.
  std::string other;
  for (const std::string& mount : mounts) {
    if (mount != home) other = mount;
  }
  if (other.empty()) QSKIP("this machine has one drive only");
  running.DoubleClick(104, QString::fromStdString(DriveEntryText(other)));
  QCOMPARE(running.view().m_strFolder, other);
  QCOMPARE(running.folder_text(), QString::fromStdString(other));
  QCOMPARE(running.entries(103).contains("[..]"), other != "/");
}

void FileBrowserTest::filterBoxRelists() {
  RunningApp running(tree_.path());
  QLineEdit* text = running.filter()->lineEdit();
  text->selectAll();
  QTest::keyClicks(text, "*.TX");
  QCOMPARE(running.entries(105), QStringList{});
  QTest::keyClicks(text, "T");
  QCOMPARE(running.entries(105), (QStringList{"a.txt", "B.TXT", "read-only.txt"}));
  QCOMPARE(running.view().m_strFilter, std::string("*.TXT"));
  // Clearing the text lists the folder as "*.*" does.
  text->selectAll();
  QTest::keyClick(text, Qt::Key_Delete);
  QCOMPARE(running.view().m_strFilter, std::string());
  QCOMPARE(running.entries(105).size(), 5);
  // Choosing from the list.
  int doc = running.filter()->findText("*.doc");
  running.filter()->setCurrentIndex(doc);
  emit running.filter()->activated(doc);
  QCOMPARE(running.view().m_strFilter, std::string("*.doc"));
  QCOMPARE(running.entries(105), QStringList{"c.doc"});
  // The folder and drive lists are left alone.
  QCOMPARE(running.entries(103), (QStringList{"[..]", "[sub1]", "[Sub2]"}));
}

void FileBrowserTest::typedFolderIsTakenAsTyped() {
  RunningApp running(tree_.path());
  auto* edit = qobject_cast<QLineEdit*>(running.view().GetDlgItem(102));
  edit->setText(QString::fromStdString(tree_.path() + "/sub1"));
  QCOMPARE(running.view().m_strFolder, tree_.folder());
  QLineEdit* text = running.filter()->lineEdit();
  text->selectAll();
  QTest::keyClicks(text, "/*.txt");
  // Folder and filter are joined as they stand.
  QCOMPARE(running.view().m_strFolder, tree_.path() + "/sub1");
  QCOMPARE(running.view().m_strPattern, tree_.path() + "/sub1/*.txt");
  QCOMPARE(running.entries(105), QStringList{"inner.txt"});
}

void FileBrowserTest::fileDoubleClickNarrowsTheFilter() {
  RunningApp running(tree_.path());
  running.DoubleClick(105, "B.TXT");
  QCOMPARE(running.view().m_strFilter, std::string("B.TXT"));
  QCOMPARE(running.filter()->currentText(), QString("B.TXT"));
  QCOMPARE(running.entries(105), QStringList{"B.TXT"});
  QCOMPARE(running.status(), QString::fromUtf8("1 個のファイルが選択されています。"));
  // "*.*" from the list shows the whole folder again.
  int all = running.filter()->findText("*.*");
  running.filter()->setCurrentIndex(all);
  emit running.filter()->activated(all);
  QCOMPARE(running.entries(105).size(), 5);
}

void FileBrowserTest::doubleClickWithoutSelection() {
  RunningApp running(tree_.path());
  CVintrelView& view = running.view();
  view.m_lstFolders.SetCurSel(-1);
  view.m_lstDrives.SetCurSel(-1);
  view.m_lstFiles.SetCurSel(-1);
  view.OnDblclkFolderList();
  view.OnDblclkDriveList();
  view.OnDblclkFileList();
  QCOMPARE(view.m_strFolder, tree_.folder());
  QCOMPARE(view.m_strFilter, std::string("*.*"));
  QCOMPARE(running.status(), QString::fromUtf8("処理状況表示コーナー"));
  // An empty list cannot be double-clicked into anything either.
  view.m_lstFiles.ResetContent();
  view.OnDblclkFileList();
  QCOMPARE(view.m_strFilter, std::string("*.*"));
}

void FileBrowserTest::overlongPathIsNotEntered() {
  RunningApp running(tree_.path());
  CVintrelView& view = running.view();
  std::string deep = "/" + std::string(PATH_MAX - 8, 'd') + "/";
  view.m_strFolder = deep;
  view.m_lstFolders.ResetContent();
  view.m_lstFolders.AddString("[long-name]");
  running.DoubleClick(103, "[long-name]");
  QCOMPARE(view.m_strFolder, deep);
  QCOMPARE(running.entries(103), QStringList{});
  QCOMPARE(running.entries(105), QStringList{});
}

void FileBrowserTest::namesThatAreNotUtf8() {
  test::ScopedTempDir tree;
  const std::string odd = "caf\xe9]";  // Latin-1 bytes and a bracket in a folder name
  tree.MakeFolder(odd);
  tree.WriteFile(odd + "/\x95\x5c.TXT", "x\n");
  RunningApp running(tree.path());
  CVintrelView& view = running.view();
  QCOMPARE(view.m_lstFolders.GetCount(), 2);
  int at = view.m_lstFolders.FindStringExact(-1, "[" + odd + "]");
  QVERIFY(at != ui::kListError);
  QListWidget* folders = running.list(103);
  QPoint where = folders->visualItemRect(folders->item(at)).center();
  QTest::mouseClick(folders->viewport(), Qt::LeftButton, {}, where);
  QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, where);
  QCOMPARE(view.m_strFolder, tree.folder() + odd + "/");
  QCOMPARE(view.m_lstFiles.GetCount(), 1);
  QCOMPARE(view.m_lstFiles.GetText(0), std::string("\x95\x5c.TXT"));
  // The folder text survives the exchange with the edit box byte for byte.
  view.UpdateData(true);
  QCOMPARE(view.m_strFolder, tree.folder() + odd + "/");
}

}  // namespace vintrel

QTEST_MAIN(vintrel::FileBrowserTest)
#include "file_browser_test.moc"
