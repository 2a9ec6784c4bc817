// The folder chooser: what it opens on, how its lists browse, and what OK and Cancel hand
// back.

#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>

#include "platform/core/drives.h"
#include "settings/get_dir_dlg.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

using test::ScopedTempDir;

QListWidget* List(const ui::Dialog& dialog, int id) {
  return qobject_cast<QListWidget*>(dialog.GetDlgItem(id));
}

QStringList Entries(const ui::Dialog& dialog, int id) {
  QStringList entries;
  QListWidget* list = List(dialog, id);
  for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
  return entries;
}

QString EditText(const ui::Dialog& dialog) {
  return qobject_cast<QLineEdit*>(dialog.GetDlgItem(CGetDirDlg::kIdDir))->text();
}

// Double-clicks the entry TEXT of list ID as the user would: selects it, then the list
// reports the double-click.
bool DoubleClick(const ui::Dialog& dialog, int id, const QString& text) {
  QListWidget* list = List(dialog, id);
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
  if (found.isEmpty()) return false;
  list->setCurrentItem(found.front());
  emit list->itemDoubleClicked(found.front());
  return true;
}

}  // namespace

class GetDirDlgTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void opensOnTheCallersFolder_data();
  void opensOnTheCallersFolder();
  void listsShowTheFolder();
  void navigation_data();
  void navigation();
  void doubleClickWithoutSelection();
  void okAndCancel_data();
  void okAndCancel();

 private:
  // BASE replaced by the temporary folder (without its trailing '/').
  QString Resolve(const QString& text) const {
    QString resolved = text;
    return resolved.replace("BASE", QString::fromStdString(dir_->path()));
  }

  std::unique_ptr<ScopedTempDir> dir_;
  std::string old_folder_;
};

void GetDirDlgTest::init() {
  dir_ = std::make_unique<ScopedTempDir>();
  dir_->MakeFolder("sub/deeper");
  dir_->MakeFolder(".hidden-folder");
  dir_->WriteFile("a.txt", "a");
  dir_->WriteFile(".hidden-file", "h");
  dir_->WriteFile("sub/inner.txt", "i");
  char* old = getcwd(nullptr, 0);
  old_folder_ = old;
  free(old);
  QCOMPARE(chdir(dir_->path().c_str()), 0);
}

void GetDirDlgTest::cleanup() {
  QCOMPARE(chdir(old_folder_.c_str()), 0);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
  }
  dir_.reset();
}

void GetDirDlgTest::opensOnTheCallersFolder_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("browsed");
  QTest::newRow("empty text: the current folder") << ""
                                                  << "BASE/";
  QTest::newRow("a folder") << "BASE/sub/"
                            << "BASE/sub/";
  QTest::newRow("a folder without its slash") << "BASE/sub"
                                              << "BASE/sub/";
  QTest::newRow("a prefix of file names") << "BASE/sub/conv_"
                                          << "BASE/sub/";
  QTest::newRow("a relative folder") << "sub/deeper"
                                     << "BASE/sub/deeper/";
  QTest::newRow("a folder that does not exist") << "/no/such/folder/"
                                                << "BASE/";
}

void GetDirDlgTest::opensOnTheCallersFolder() {
  QFETCH(QString, text);
  QFETCH(QString, browsed);
  CGetDirDlg dialog;
  dialog.m_strDir = Resolve(text).toStdString();
  QVERIFY(dialog.Create());
  // The edit shows the text as the caller set it; the lists show the folder it means.
  QCOMPARE(EditText(dialog), Resolve(text));
  QCOMPARE(QString::fromStdString(dialog.browsed_folder()), Resolve(browsed));
  QCOMPARE(dialog.m_strDir, Resolve(text).toStdString());

  // Centred on the screen, size unchanged.
  QWidget* window = dialog.widget();
  const QRect screen = window->screen()->geometry();
  const QSize size = window->frameGeometry().size();
  QCOMPARE(window->frameGeometry().topLeft(),
           QPoint(screen.x() + (screen.width() - size.width()) / 2,
                  screen.y() + (screen.height() - size.height()) / 2));
}

void GetDirDlgTest::listsShowTheFolder() {
  CGetDirDlg dialog;
  dialog.m_strDir = dir_->folder();
  QVERIFY(dialog.Create());
  QCOMPARE(Entries(dialog, CGetDirDlg::kIdFolderList), (QStringList{"[..]", "[sub]"}));
  QCOMPARE(Entries(dialog, CGetDirDlg::kIdFileList), QStringList{"a.txt"});
  QStringList drives;
  for (const std::string& mount_point : ListDrives()) {
    drives << QString::fromStdString(DriveEntryText(mount_point));
  }
  QStringList shown = Entries(dialog, CGetDirDlg::kIdDriveList);
  QCOMPARE(shown.size(), drives.size());
  QVERIFY(shown.contains("[-/-]"));
  for (const QString& drive : drives) QVERIFY2(shown.contains(drive), qPrintable(drive));
}

void GetDirDlgTest::navigation_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<int>("listId");
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QString>("edit");     // edit 102 afterwards
  QTest::addColumn<QString>("browsed");  // the folder the lists show afterwards
  QTest::addColumn<QStringList>("folders");
  QTest::addColumn<QStringList>("files");
  const int folders = CGetDirDlg::kIdFolderList;
  QTest::newRow("enter a folder") << "BASE/" << folders << "[sub]"
                                  << "BASE/sub/"
                                  << "BASE/sub/" << QStringList{"[..]", "[deeper]"}
                                  << QStringList{"inner.txt"};
  QTest::newRow("go up") << "BASE/sub/" << folders << "[..]"
                         << "BASE/"
                         << "BASE/" << QStringList{"[..]", "[sub]"} << QStringList{"a.txt"};
  QTest::newRow("enter from a typed prefix")
      << "BASE/conv_" << folders << "[sub]"
      << "BASE/sub/"
      << "BASE/sub/" << QStringList{"[..]", "[deeper]"} << QStringList{"inner.txt"};
  QTest::newRow("up from a folder typed without its slash")
      << "BASE/sub/deeper" << folders << "[..]"
      << "BASE/sub/"
      << "BASE/sub/" << QStringList{"[..]", "[deeper]"} << QStringList{"inner.txt"};
  QTest::newRow("a file is for reference only")
      << "BASE/" << int(CGetDirDlg::kIdFileList) << "a.txt"
      << "BASE/"
      << "BASE/" << QStringList{"[..]", "[sub]"} << QStringList{"a.txt"};
}

void GetDirDlgTest::navigation() {
  QFETCH(QString, start);
  QFETCH(int, listId);
  QFETCH(QString, entry);
  QFETCH(QString, edit);
  QFETCH(QString, browsed);
  QFETCH(QStringList, folders);
  QFETCH(QStringList, files);
  CGetDirDlg dialog;
  dialog.m_strDir = Resolve(start).toStdString();
  QVERIFY(dialog.Create());
  QVERIFY(DoubleClick(dialog, listId, entry));
  QCOMPARE(EditText(dialog), Resolve(edit));
  QCOMPARE(QString::fromStdString(dialog.browsed_folder()), Resolve(browsed));
  QCOMPARE(Entries(dialog, CGetDirDlg::kIdFolderList), folders);
  QCOMPARE(Entries(dialog, CGetDirDlg::kIdFileList), files);
}

void GetDirDlgTest::doubleClickWithoutSelection() {
  CGetDirDlg dialog;
  dialog.m_strDir = dir_->folder() + "typed";
  QVERIFY(dialog.Create());
  for (int id : {CGetDirDlg::kIdFolderList, CGetDirDlg::kIdDriveList, CGetDirDlg::kIdFileList}) {
    QListWidget* list = List(dialog, id);
    list->clearSelection();
    emit list->itemDoubleClicked(list->item(0));
    QCOMPARE(EditText(dialog), Resolve("BASE/typed"));
    QCOMPARE(dialog.browsed_folder(), dir_->folder());
  }
}

void GetDirDlgTest::okAndCancel_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("typed");  // "-": leave the edit alone
  QTest::addColumn<QString>("doubleClick");
  QTest::addColumn<int>("button");  // 0: the Esc key
  QTest::addColumn<int>("result");
  QTest::addColumn<QString>("returned");
  QTest::newRow("OK: the text as typed") << "BASE/"
                                         << "/no/such/folder"
                                         << "" << 1 << int(ui::IDOK) << "/no/such/folder";
  QTest::newRow("OK: an emptied edit") << "BASE/"
                                       << ""
                                       << "" << 1 << int(ui::IDOK) << "";
  QTest::newRow("OK: blanks kept") << ""
                                   << " /srv/out "
                                   << "" << 1 << int(ui::IDOK) << " /srv/out ";
  QTest::newRow("OK after browsing") << "BASE/"
                                     << "-"
                                     << "[sub]" << 1 << int(ui::IDOK) << "BASE/sub/";
  QTest::newRow("OK untouched") << "BASE/out_"
                                << "-"
                                << "" << 1 << int(ui::IDOK) << "BASE/out_";
  QTest::newRow("Cancel after editing") << "BASE/"
                                        << "/elsewhere/"
                                        << "" << 2 << int(ui::IDCANCEL) << "BASE/";
  QTest::newRow("Cancel after browsing") << "BASE/"
                                         << "-"
                                         << "[sub]" << 2 << int(ui::IDCANCEL) << "BASE/";
  QTest::newRow("Esc after editing") << ""
                                     << "/elsewhere/"
                                     << "" << 0 << int(ui::IDCANCEL) << "";
}

void GetDirDlgTest::okAndCancel() {
  QFETCH(QString, start);
  QFETCH(QString, typed);
  QFETCH(QString, doubleClick);
  QFETCH(int, button);
  QFETCH(int, result);
  QFETCH(QString, returned);
  CGetDirDlg dialog;
  dialog.m_strDir = Resolve(start).toStdString();
  QTimer::singleShot(0, [&] {
    QWidget* shown = QApplication::activeModalWidget();
    QVERIFY(shown == dialog.widget());
    if (!doubleClick.isEmpty())
      QVERIFY(DoubleClick(dialog, CGetDirDlg::kIdFolderList, doubleClick));
    if (typed != "-")
      qobject_cast<QLineEdit*>(dialog.GetDlgItem(CGetDirDlg::kIdDir))->setText(typed);
    if (button == 0) {
      QTest::keyClick(shown, Qt::Key_Escape);
    } else {
      qobject_cast<QPushButton*>(dialog.GetDlgItem(button))->click();
    }
  });
  QCOMPARE(dialog.DoModal(), result);
  QVERIFY(dialog.widget() == nullptr);
  QCOMPARE(QString::fromStdString(dialog.m_strDir), Resolve(returned));
}

}  // namespace vintrel

QTEST_MAIN(vintrel::GetDirDlgTest)
#include "get_dir_dlg_test.moc"
