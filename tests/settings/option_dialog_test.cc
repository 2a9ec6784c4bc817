// The options dialog: opening from the profile and the word list, the check box rules, the
// word list editing, OK and Cancel, browsing for the output folder, and the menu command
// of the main form that opens it.

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/vintrel_view.h"
#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/core/string_map.h"
#include "platform/ui/message_box.h"
#include "settings/get_dir_dlg.h"
#include "settings/option_dialog.h"
#include "settings/settings_store.h"
#include "settings/word_list.h"
#include "tests/support/temp_dir.h"

Q_DECLARE_METATYPE(std::string)

namespace vintrel {
namespace {

using test::ReadFileBytes;
using test::ScopedEnv;
using test::ScopedTempDir;
using Words = std::vector<std::string>;

const char kNoWord[] = "追加するものが入力されていませんけど・・・";
const char kDuplicate[] = "既に登録されているみたいです";
const char kNothingSelected[] = "削除するものが選択されていませんけど・・・";
const char kRefusedExt[] = "Incredible!! DO NOT USE THIS EXTENSION!!";

QCheckBox* Box(const ui::Dialog& dialog, int id) {
  return qobject_cast<QCheckBox*>(dialog.GetDlgItem(id));
}
QLineEdit* EditBox(const ui::Dialog& dialog, int id) {
  return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}
QListWidget* List(const ui::Dialog& dialog, int id) {
  return qobject_cast<QListWidget*>(dialog.GetDlgItem(id));
}
void Press(const ui::Dialog& dialog, int id) {
  qobject_cast<QPushButton*>(dialog.GetDlgItem(id))->click();
}
QString Text(const ui::Dialog& dialog, int id) { return EditBox(dialog, id)->text(); }

// The check states of 111, 112 and 113 as "111" style digits: "100" is 111 alone.
QString PolicyBoxes(const ui::Dialog& dialog) {
  QString states;
  for (int id : {111, 112, 113}) states += Box(dialog, id)->isChecked() ? '1' : '0';
  return states;
}

// The word list entries as bytes, in list order.
Words ListedWords(const COptionDialog& dialog) {
  Words words;
  for (int i = 0; i < dialog.m_lstWords.GetCount(); ++i) {
    words.push_back(dialog.m_lstWords.GetText(i));
  }
  return words;
}

Words LoadedWords(const std::string& path) {
  Words words;
  LoadWordList(path, [&words](std::string_view entry) { words.emplace_back(entry); });
  return words;
}

Words Sorted(Words words) {
  std::sort(words.begin(), words.end());
  return words;
}

std::string Entry(const TextEntry& entry) {
  return Profile(ProfilePath()).GetProfileString(entry.section, entry.name, "<missing>");
}
std::string Entry(const IntEntry& entry) {
  return Profile(ProfilePath()).GetProfileString(entry.section, entry.name, "<missing>");
}

}  // namespace

class OptionDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void opensWithDefaults();
  void opensFromProfile_data();
  void opensFromProfile();
  void wordListKeepsItsBytes();
  void policyBoxes_data();
  void policyBoxes();
  void leadingBlankBoxes_data();
  void leadingBlankBoxes();
  void addWord_data();
  void addWord();
  void deleteWord();
  void extensionEdit_data();
  void extensionEdit();
  void okStoresEverything_data();
  void okStoresEverything();
  void okTakesEffectAtTheNextRead();
  void okWithEmptyListWritesEmptyFile();
  void okMakesTheConfigFolder();
  void cancelStoresNothing();
  void enterInWordEditPressesOk();
  void browseOutDir_data();
  void browseOutDir();
  void unwritableWordListKeepsTheDialogOpen();
  void unreadableWordListIsNotWrittenOver();
  void unwritableProfileKeepsTheDialogOpen();
  void optionsCommandOpensTheDialog();

 private:
  std::string WordListFile() const { return config_->Child("vintrel.lst"); }
  void WriteProfile(const std::string& text) const { config_->WriteFile("vintrel.INI", text); }

  std::unique_ptr<ScopedTempDir> config_;
  std::unique_ptr<ScopedEnv> xdg_;
};

void OptionDialogTest::init() {
  config_ = std::make_unique<ScopedTempDir>();
  xdg_ = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", config_->path());
}

void OptionDialogTest::cleanup() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
  }
  xdg_.reset();
  config_.reset();
}

void OptionDialogTest::opensWithDefaults() {
  ui::ScopedMessageBoxCapture capture;
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  QCOMPARE(PolicyBoxes(dialog), QString("100"));
  QCOMPARE(Text(dialog, 114), QString(".txt"));
  QVERIFY(!Box(dialog, 121)->isChecked());
  QVERIFY(!Box(dialog, 123)->isChecked());
  QVERIFY(!Box(dialog, 125)->isChecked());
  QCOMPARE(Text(dialog, 122), QString("4"));
  QVERIFY(dialog.GetDlgItem(122)->isEnabled());
  QVERIFY(dialog.GetDlgItem(124)->isEnabled());
  QCOMPARE(Text(dialog, 134), QString());
  QCOMPARE(List(dialog, 117)->count(), 0);
  QVERIFY(capture.events().empty());
  // Opening writes nothing.
  QVERIFY(!std::filesystem::exists(ProfilePath()));
  QVERIFY(!std::filesystem::exists(WordListFile()));
}

void OptionDialogTest::opensFromProfile_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("policy");
  QTest::addColumn<bool>("delAll");
  QTest::addColumn<bool>("delColumn");
  QTest::addColumn<bool>("delSpac3");
  QTest::addColumn<bool>("columnEnabled");
  QTest::addColumn<QString>("column");
  QTest::addColumn<QString>("ext");
  QTest::addColumn<QString>("outDir");

  QTest::newRow("ask") << "[Filename]\nMode=1\n"
                       << "001" << false << false << false << true << "4"
                       << ".txt"
                       << "";
  QTest::newRow("overwrite, section in capitals") << "[FILENAME]\nmode=2\n"
                                                  << "010" << false << false << false << true << "4"
                                                  << ".txt"
                                                  << "";
  QTest::newRow("mode 7 searches a free name") << "[Filename]\nMode=7\n"
                                               << "100" << false << false << false << true << "4"
                                               << ".txt"
                                               << "";
  QTest::newRow("both leading-blank flags: DelAll wins")
      << "[Default]\nDelAll=1\nDelColumn=1\n"
      << "100" << true << false << false << false << "4"
      << ".txt"
      << "";
  QTest::newRow("DelColumn with its count") << "[Default]\nDelColumn=1\nColumn=12\n"
                                            << "100" << false << true << false << true << "12"
                                            << ".txt"
                                            << "";
  QTest::newRow("DelAll 2 is not set") << "[Default]\nDelAll=2\n"
                                       << "100" << false << false << false << true << "4"
                                       << ".txt"
                                       << "";
  QTest::newRow("DelColumn 2 is not set") << "[Default]\nDelColumn=2\n"
                                          << "100" << false << false << false << true << "4"
                                          << ".txt"
                                          << "";
  QTest::newRow("DelSpac3 2 collapses") << "[Default]\nDelSpac3=2\n"
                                        << "100" << false << false << true << true << "4"
                                        << ".txt"
                                        << "";
  QTest::newRow("column text as stored") << "[Default]\nColumn=abc\n"
                                         << "100" << false << false << false << true << "abc"
                                         << ".txt"
                                         << "";
  QTest::newRow("stored html opens without a message")
      << "[Default]\nExt=html\n"
      << "100" << false << false << false << true << "4"
      << "html"
      << "";
  QTest::newRow("output folder, entry spelled OutDir")
      << "[Regist]\nOutDir=/srv/out\n"
      << "100" << false << false << false << true << "4"
      << ".txt"
      << "/srv/out";
}

void OptionDialogTest::opensFromProfile() {
  QFETCH(QString, profile);
  QFETCH(QString, policy);
  QFETCH(bool, delAll);
  QFETCH(bool, delColumn);
  QFETCH(bool, delSpac3);
  QFETCH(bool, columnEnabled);
  QFETCH(QString, column);
  QFETCH(QString, ext);
  QFETCH(QString, outDir);
  WriteProfile(profile.toStdString());
  ui::ScopedMessageBoxCapture capture;
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  QCOMPARE(PolicyBoxes(dialog), policy);
  QCOMPARE(Box(dialog, 121)->isChecked(), delAll);
  QCOMPARE(Box(dialog, 123)->isChecked(), delColumn);
  QCOMPARE(Box(dialog, 125)->isChecked(), delSpac3);
  QCOMPARE(dialog.GetDlgItem(122)->isEnabled(), columnEnabled);
  QCOMPARE(dialog.GetDlgItem(124)->isEnabled(), columnEnabled);
  QCOMPARE(Text(dialog, 122), column);
  QCOMPARE(Text(dialog, 114), ext);
  QCOMPARE(Text(dialog, 134), outDir);
  QVERIFY(capture.events().empty());
}

void OptionDialogTest::wordListKeepsItsBytes() {
  // Shift-JIS bytes (not UTF-8), words differing only in case, blanks, an empty line and
  // a last line without its line end.
  const std::string sjis = "\x83\x5c\x83\x56\x83\x49-";
  const std::string file = "socio-\r\n" + sjis + "\r\nSocio-\r\n\r\n  co- \r\nanti-";
  config_->WriteFile("vintrel.lst", file);
  const Words read = LoadedWords(WordListFile());
  QCOMPARE(read.size(), size_t(6));

  COptionDialog dialog;
  QVERIFY(dialog.Create());
  QVERIFY(Sorted(ListedWords(dialog)) == Sorted(read));
  const Words shown = ListedWords(dialog);
  Press(dialog, 1);
  QCOMPARE(dialog.result(), int(ui::IDOK));
  // Every entry goes back byte for byte, in list order.
  QVERIFY(LoadedWords(WordListFile()) == shown);

  // A second round leaves the file exactly as the first wrote it.
  const std::string first = ReadFileBytes(WordListFile());
  COptionDialog again;
  QVERIFY(again.Create());
  Press(again, 1);
  QCOMPARE(ReadFileBytes(WordListFile()), first);
}

void OptionDialogTest::policyBoxes_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<int>("clicked");
  QTest::addColumn<QString>("policy");
  QTest::newRow("click the ticked 111") << "" << 111 << "100";
  QTest::newRow("111 to 112") << "" << 112 << "010";
  QTest::newRow("111 to 113") << "" << 113 << "001";
  QTest::newRow("click the ticked 112") << "[Filename]\nMode=2\n" << 112 << "010";
  QTest::newRow("click the ticked 113") << "[Filename]\nMode=1\n" << 113 << "001";
  QTest::newRow("113 to 111") << "[Filename]\nMode=1\n" << 111 << "100";
  QTest::newRow("112 to 113") << "[Filename]\nMode=2\n" << 113 << "001";
}

void OptionDialogTest::policyBoxes() {
  QFETCH(QString, profile);
  QFETCH(int, clicked);
  QFETCH(QString, policy);
  WriteProfile(profile.toStdString());
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  Box(dialog, clicked)->click();
  QCOMPARE(PolicyBoxes(dialog), policy);
  // A second click on the same box keeps it ticked.
  Box(dialog, clicked)->click();
  QCOMPARE(PolicyBoxes(dialog), policy);
}

void OptionDialogTest::leadingBlankBoxes_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QList<int>>("clicks");
  QTest::addColumn<bool>("delAll");
  QTest::addColumn<bool>("delColumn");
  QTest::addColumn<bool>("columnEnabled");
  QTest::newRow("tick 123") << "" << QList<int>{123} << false << true << true;
  QTest::newRow("tick 123, then 121") << "" << QList<int>{123, 121} << true << false << false;
  QTest::newRow("tick 123, 121, clear 121: stays disabled")
      << "" << QList<int>{123, 121, 121} << false << false << false;
  QTest::newRow("tick and clear 123") << "" << QList<int>{123, 123} << false << false << false;
  QTest::newRow("tick 121") << "" << QList<int>{121} << true << false << false;
  QTest::newRow("tick 121, then 123") << "" << QList<int>{121, 123} << false << true << true;
  QTest::newRow("clear 121 stored as set: stays disabled")
      << "[Default]\nDelAll=1\n"
      << QList<int>{121} << false << false << false;
  QTest::newRow("clear 123 stored as set") << "[Default]\nDelColumn=1\n"
                                           << QList<int>{123} << false << false << false;
}

void OptionDialogTest::leadingBlankBoxes() {
  QFETCH(QString, profile);
  QFETCH(QList<int>, clicks);
  QFETCH(bool, delAll);
  QFETCH(bool, delColumn);
  QFETCH(bool, columnEnabled);
  WriteProfile(profile.toStdString());
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  for (int id : clicks) {
    Box(dialog, id)->click();
    QVERIFY2(!(Box(dialog, 121)->isChecked() && Box(dialog, 123)->isChecked()),
             "121 and 123 ticked together");
  }
  QCOMPARE(Box(dialog, 121)->isChecked(), delAll);
  QCOMPARE(Box(dialog, 123)->isChecked(), delColumn);
  QCOMPARE(dialog.GetDlgItem(122)->isEnabled(), columnEnabled);
  QCOMPARE(dialog.GetDlgItem(124)->isEnabled(), columnEnabled);
}

void OptionDialogTest::addWord_data() {
  QTest::addColumn<std::string>("listed");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");
  QTest::addColumn<Words>("words");
  QTest::addColumn<QString>("editAfter");
  QTest::newRow("nothing typed") << std::string("socio-\n") << "" << kNoWord << Words{"socio-"}
                                 << "";
  QTest::newRow("duplicate in other letter case")
      << std::string("socio-\n") << "SOCIO-" << kDuplicate << Words{"socio-"} << "SOCIO-";
  QTest::newRow("exact duplicate")
      << std::string("socio-\n") << "socio-" << kDuplicate << Words{"socio-"} << "socio-";
  QTest::newRow("blank in front is part of the word") << std::string("socio-\n") << " socio-"
                                                      << "" << Words{" socio-", "socio-"} << "";
  QTest::newRow("new word lands in sorted position")
      << std::string("anti-\nsocio-\n") << "Pre-"
      << "" << Words{"anti-", "Pre-", "socio-"} << "";
  QTest::newRow("first word") << std::string() << "co-"
                              << "" << Words{"co-"} << "";
  QTest::newRow("Japanese word") << std::string() << "ｿｼｵ-"
                                 << "" << Words{"ｿｼｵ-"} << "";
}

void OptionDialogTest::addWord() {
  QFETCH(std::string, listed);
  QFETCH(QString, typed);
  QFETCH(QString, message);
  QFETCH(Words, words);
  QFETCH(QString, editAfter);
  if (!listed.empty()) config_->WriteFile("vintrel.lst", listed);
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  EditBox(dialog, 118)->setText(typed);
  ui::ScopedMessageBoxCapture capture;
  Press(dialog, 119);
  QStringList expected_messages;
  if (!message.isEmpty()) expected_messages << message;
  QStringList messages;
  for (const auto& event : capture.events()) {
    QVERIFY2(!event.beep, "no beep");
    QVERIFY(event.owner == dialog.widget());
    messages << QString::fromStdString(event.text);
  }
  QCOMPARE(messages, expected_messages);
  QVERIFY(ListedWords(dialog) == words);
  QCOMPARE(Text(dialog, 118), editAfter);
  QCOMPARE(dialog.result(), 0);
}

void OptionDialogTest::deleteWord() {
  config_->WriteFile("vintrel.lst", "anti-\r\nco-\r\nsocio-\r\n");
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  {
    ui::ScopedMessageBoxCapture capture;
    Press(dialog, 120);
    QCOMPARE(capture.texts(), std::vector<std::string>{kNothingSelected});
    QVERIFY(ListedWords(dialog) == (Words{"anti-", "co-", "socio-"}));
  }
  ui::ScopedMessageBoxCapture capture;
  List(dialog, 117)->setCurrentRow(1);
  Press(dialog, 120);
  QVERIFY(capture.events().empty());
  QVERIFY(ListedWords(dialog) == (Words{"anti-", "socio-"}));
  QCOMPARE(dialog.m_lstWords.GetCurSel(), ui::kListError);
  // Nothing is selected afterwards: another press only says so.
  Press(dialog, 120);
  QCOMPARE(capture.texts(), std::vector<std::string>{kNothingSelected});
  QVERIFY(ListedWords(dialog) == (Words{"anti-", "socio-"}));
}

void OptionDialogTest::extensionEdit_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("refusals");
  QTest::addColumn<QString>("shown");
  QTest::newRow("html") << "[Default]\nExt=\n"
                        << "html" << 1 << "";
  QTest::newRow("HtMl") << "[Default]\nExt=\n"
                        << "HtMl" << 1 << "";
  QTest::newRow(".html is fine") << "[Default]\nExt=\n"
                                 << ".html" << 0 << ".html";
  QTest::newRow("htm is fine") << "[Default]\nExt=\n"
                               << "htm" << 0 << "htm";
  QTest::newRow("refused at the fourth letter, then typing goes on") << "[Default]\nExt=\n"
                                                                     << "htmlx" << 1 << "x";
  QTest::newRow("appended to a stored text") << "[Default]\nExt=.txt\n"
                                             << "x" << 0 << ".txtx";
}

void OptionDialogTest::extensionEdit() {
  QFETCH(QString, profile);
  QFETCH(QString, typed);
  QFETCH(int, refusals);
  QFETCH(QString, shown);
  WriteProfile(profile.toStdString());
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  dialog.widget()->show();
  QLineEdit* edit = EditBox(dialog, 114);
  edit->setFocus();
  edit->end(false);
  ui::ScopedMessageBoxCapture capture;
  QTest::keyClicks(edit, typed);
  QCOMPARE(capture.beeps(), refusals);
  QCOMPARE(int(capture.texts().size()), refusals);
  for (const std::string& text : capture.texts()) QCOMPARE(text, std::string(kRefusedExt));
  if (refusals > 0) QVERIFY(capture.events().front().beep);  // the beep comes first
  QCOMPARE(edit->text(), shown);
  // OK stores the extension as edited.
  Press(dialog, 1);
  QCOMPARE(dialog.result(), int(ui::IDOK));
  QCOMPARE(Entry(kExtForDialogs), shown.toStdString());
}

void OptionDialogTest::okStoresEverything_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QList<int>>("clicks");
  QTest::addColumn<QString>("column");
  QTest::addColumn<QString>("outDir");
  QTest::addColumn<QString>("ext");
  QTest::addColumn<QStringList>("stored");  // DelAll DelColumn Column DelSpac3 Ext Mode Outdir
  QTest::newRow("untouched defaults") << "" << QList<int>{} << ""
                                      << ""
                                      << "" << QStringList{"0", "0", "4", "0", ".txt", "0", ""};
  QTest::newRow("typed column and folder, pressed straight away")
      << "" << QList<int>{123, 125} << "12"
      << "/srv/out"
      << ".doc" << QStringList{"0", "1", "12", "1", ".doc", "0", "/srv/out"};
  QTest::newRow("delete all, overwrite") << "" << QList<int>{121, 112} << ""
                                         << ""
                                         << "" << QStringList{"1", "0", "4", "0", ".txt", "2", ""};
  QTest::newRow("ask") << "" << QList<int>{113} << ""
                       << ""
                       << "" << QStringList{"0", "0", "4", "0", ".txt", "1", ""};
  QTest::newRow("column text not a number, stored as typed")
      << "" << QList<int>{} << " 7x"
      << ""
      << "" << QStringList{"0", "0", " 7x", "0", ".txt", "0", ""};
  QTest::newRow("mode 7 stored as 0") << "[Filename]\nMode=7\n"
                                      << QList<int>{} << ""
                                      << ""
                                      << "" << QStringList{"0", "0", "4", "0", ".txt", "0", ""};
  QTest::newRow("both flags set: DelColumn stored as 0")
      << "[Default]\nDelAll=1\nDelColumn=1\n"
      << QList<int>{} << ""
      << ""
      << "" << QStringList{"1", "0", "4", "0", ".txt", "0", ""};
  QTest::newRow("DelSpac3 2 stored as 1") << "[Default]\nDelSpac3=2\n"
                                          << QList<int>{} << ""
                                          << ""
                                          << "" << QStringList{"0", "0", "4", "1", ".txt", "0", ""};
  QTest::newRow("folder without trailing slash stays so")
      << "[Regist]\nOutdir=/a/\n"
      << QList<int>{} << ""
      << "/srv/out_"
      << "" << QStringList{"0", "0", "4", "0", ".txt", "0", "/srv/out_"};
}

void OptionDialogTest::okStoresEverything() {
  QFETCH(QString, profile);
  QFETCH(QList<int>, clicks);
  QFETCH(QString, column);
  QFETCH(QString, outDir);
  QFETCH(QString, ext);
  QFETCH(QStringList, stored);
  WriteProfile(profile.toStdString());
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  for (int id : clicks) Box(dialog, id)->click();
  if (!column.isEmpty()) EditBox(dialog, 122)->setText(column);
  if (!outDir.isEmpty()) EditBox(dialog, 134)->setText(outDir);
  if (!ext.isEmpty()) EditBox(dialog, 114)->setText(ext);
  ui::ScopedMessageBoxCapture capture;
  Press(dialog, 1);
  QVERIFY(capture.events().empty());
  QCOMPARE(dialog.result(), int(ui::IDOK));
  QVERIFY(dialog.widget() == nullptr || !dialog.widget()->isVisible());
  const QStringList got = {
      QString::fromStdString(Entry(kDelAll)),
      QString::fromStdString(Entry(kDelColumn)),
      QString::fromStdString(Entry(kColumnText)),
      QString::fromStdString(Entry(kDelSpac3)),
      QString::fromStdString(Entry(kExtForDialogs)),
      QString::fromStdString(Entry(kMode)),
      QString::fromStdString(
          Profile(ProfilePath()).GetProfileString("Regist", "Outdir", "<missing>")),
  };
  QCOMPARE(got, stored);
}

void OptionDialogTest::okTakesEffectAtTheNextRead() {
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  Box(dialog, 123)->click();
  EditBox(dialog, 122)->setText("12");
  Box(dialog, 125)->click();
  Box(dialog, 112)->click();
  EditBox(dialog, 114)->setText(".out");
  EditBox(dialog, 134)->setText("/srv/out/");
  EditBox(dialog, 118)->setText("socio-");
  Press(dialog, 119);
  Press(dialog, 1);

  const Profile profile(ProfilePath());
  const ConvertOptions options = ReadConvertOptions(profile);
  QCOMPARE(options.lead_mode, LeadDelColumn);
  QCOMPARE(options.column, 12);
  QVERIFY(options.collapse_spaces);
  QCOMPARE(ReadCollisionMode(profile), 2);
  QCOMPARE(ReadOutputExt(profile), std::string(".out"));
  QCOMPARE(ReadOutDir(profile), std::string("/srv/out/"));
  CMapStringToString keep_words;
  QVERIFY(LoadKeepWords(WordListPath(), &keep_words));
  QVERIFY(keep_words.Contains("socio-"));
  QCOMPARE(keep_words.GetCount(), size_t(1));

  // The next opening shows what was stored.
  COptionDialog next;
  QVERIFY(next.Create());
  QCOMPARE(PolicyBoxes(next), QString("010"));
  QVERIFY(Box(next, 123)->isChecked());
  QCOMPARE(Text(next, 122), QString("12"));
  QVERIFY(ListedWords(next) == Words{"socio-"});
}

void OptionDialogTest::okWithEmptyListWritesEmptyFile() {
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  Press(dialog, 1);
  QVERIFY(std::filesystem::is_regular_file(WordListFile()));
  QCOMPARE(std::filesystem::file_size(WordListFile()), uintmax_t(0));

  // Deleting the last word empties the file too.
  config_->WriteFile("vintrel.lst", "socio-\r\n");
  COptionDialog again;
  QVERIFY(again.Create());
  List(again, 117)->setCurrentRow(0);
  Press(again, 120);
  Press(again, 1);
  QCOMPARE(std::filesystem::file_size(WordListFile()), uintmax_t(0));
}

void OptionDialogTest::okMakesTheConfigFolder() {
  // A first OK on a machine that has no settings folder yet stores both files.
  ScopedEnv xdg("XDG_CONFIG_HOME", config_->Child("fresh/config"));
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  EditBox(dialog, 118)->setText("socio-");
  Press(dialog, 119);
  ui::ScopedMessageBoxCapture capture;
  Press(dialog, 1);
  QVERIFY(capture.events().empty());
  QCOMPARE(dialog.result(), int(ui::IDOK));
  QCOMPARE(ReadFileBytes(config_->Child("fresh/config/vintrel.lst")), std::string("socio-\r\n"));
  QVERIFY(std::filesystem::exists(config_->Child("fresh/config/vintrel.INI")));
}

void OptionDialogTest::cancelStoresNothing() {
  const std::string profile = "[Default]\r\nDelAll=1\r\n";
  const std::string words = "socio-\r\n";
  WriteProfile(profile);
  config_->WriteFile("vintrel.lst", words);
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  EditBox(dialog, 118)->setText("anti-");
  Press(dialog, 119);
  List(dialog, 117)->setCurrentRow(List(dialog, 117)->count() - 1);
  Press(dialog, 120);
  Box(dialog, 123)->click();
  Box(dialog, 113)->click();
  EditBox(dialog, 134)->setText("/srv/out/");
  Press(dialog, 2);
  QCOMPARE(dialog.result(), int(ui::IDCANCEL));
  QCOMPARE(ReadFileBytes(ProfilePath()), profile);
  QCOMPARE(ReadFileBytes(WordListFile()), words);
}

void OptionDialogTest::enterInWordEditPressesOk() {
  COptionDialog dialog;
  bool typed = false;
  QTimer::singleShot(0, [&] {
    QWidget* shown = QApplication::activeModalWidget();
    QVERIFY(shown == dialog.widget());
    QLineEdit* word = EditBox(dialog, 118);
    word->setFocus();
    QTest::keyClicks(word, "socio-");
    typed = true;
    QTest::keyClick(word, Qt::Key_Return);
  });
  QCOMPARE(dialog.DoModal(), int(ui::IDOK));
  QVERIFY(typed);
  QVERIFY(dialog.widget() == nullptr);
  // Everything is stored, and the typed word is not added.
  QCOMPARE(ReadFileBytes(WordListFile()), std::string());
  QCOMPARE(Entry(kMode), std::string("0"));
}

void OptionDialogTest::browseOutDir_data() {
  QTest::addColumn<QString>("stored");
  QTest::addColumn<bool>("ok");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::newRow("OK returns the typed folder") << "/old/" << true << "/new/out"
                                               << "/new/out";
  QTest::newRow("OK with the edit emptied") << "/old/" << true << ""
                                            << "";
  QTest::newRow("Cancel keeps the folder") << "/old/" << false << "/new/out"
                                           << "/old/";
  QTest::newRow("empty folder, Cancel") << "" << false << "/new/"
                                        << "";
}

void OptionDialogTest::browseOutDir() {
  QFETCH(QString, stored);
  QFETCH(bool, ok);
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  WriteProfile("[Regist]\nOutdir=" + stored.toStdString() + "\n");
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  QString opened_with;
  QTimer::singleShot(0, [&] {
    QWidget* chooser = QApplication::activeModalWidget();
    QVERIFY(chooser != nullptr && chooser != dialog.widget());
    QCOMPARE(chooser->windowTitle(), QString::fromUtf8("ディレクトリ/フォルダ名取得"));
    QVERIFY(chooser->parentWidget() == dialog.widget());
    auto* edit = chooser->findChild<QLineEdit*>("id102");
    opened_with = edit->text();
    edit->setText(typed);
    chooser->findChild<QPushButton*>(ok ? "id1" : "id2")->click();
  });
  Press(dialog, 135);
  QCOMPARE(opened_with, stored);
  QCOMPARE(Text(dialog, 134), shown);
  QVERIFY(QApplication::activeModalWidget() == nullptr);
  // OK of the options dialog stores what its edit shows.
  Press(dialog, 1);
  QCOMPARE(Entry(kOutDir), shown.toStdString());
}

void OptionDialogTest::unwritableWordListKeepsTheDialogOpen() {
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  EditBox(dialog, 118)->setText("socio-");
  Press(dialog, 119);
  Box(dialog, 125)->click();
  // The list's path turns into a folder while the dialog is open.
  QVERIFY(std::filesystem::create_directory(WordListFile()));
  {
    ui::ScopedMessageBoxCapture capture;
    Press(dialog, 1);
    QCOMPARE(int(capture.texts().size()), 1);
    const std::string text = capture.texts().front();
    QVERIFY2(text.find(WordListFile()) != std::string::npos, text.c_str());
    QVERIFY2(text.find(strerror(EISDIR)) != std::string::npos, text.c_str());
    QVERIFY(capture.events().front().owner == dialog.widget());
  }
  // Still open with the list as edited; the other settings are stored.
  QCOMPARE(dialog.result(), 0);
  QVERIFY(ListedWords(dialog) == Words{"socio-"});
  QCOMPARE(Entry(kDelSpac3), std::string("1"));

  // Once the path is free again, OK stores the list and closes.
  std::filesystem::remove(WordListFile());
  ui::ScopedMessageBoxCapture capture;
  Press(dialog, 1);
  QVERIFY(capture.events().empty());
  QCOMPARE(dialog.result(), int(ui::IDOK));
  QCOMPARE(ReadFileBytes(WordListFile()), std::string("socio-\r\n"));
}

void OptionDialogTest::unreadableWordListIsNotWrittenOver() {
  QVERIFY(std::filesystem::create_directory(WordListFile()));
  COptionDialog dialog;
  {
    ui::ScopedMessageBoxCapture capture;
    QVERIFY(dialog.Create());
    QCOMPARE(int(capture.texts().size()), 1);
    QVERIFY(capture.texts().front().find(WordListFile()) != std::string::npos);
  }
  for (int id : {117, 118, 119, 120}) {
    QVERIFY2(!dialog.GetDlgItem(id)->isEnabled(), qPrintable(QString::number(id)));
  }
  ui::ScopedMessageBoxCapture capture;
  Press(dialog, 1);
  QVERIFY(capture.events().empty());
  QCOMPARE(dialog.result(), int(ui::IDOK));
  QVERIFY(std::filesystem::is_directory(WordListFile()));
  QCOMPARE(Entry(kMode), std::string("0"));
}

void OptionDialogTest::unwritableProfileKeepsTheDialogOpen() {
  QVERIFY(std::filesystem::create_directory(ProfilePath()));
  COptionDialog dialog;
  QVERIFY(dialog.Create());
  EditBox(dialog, 118)->setText("socio-");
  Press(dialog, 119);
  ui::ScopedMessageBoxCapture capture;
  Press(dialog, 1);
  QCOMPARE(int(capture.texts().size()), 1);
  const std::string text = capture.texts().front();
  QVERIFY2(text.find(ProfilePath()) != std::string::npos, text.c_str());
  QVERIFY2(text.find(strerror(EISDIR)) != std::string::npos, text.c_str());
  QCOMPARE(dialog.result(), 0);
  QCOMPARE(ReadFileBytes(WordListFile()), std::string("socio-\r\n"));
}

void OptionDialogTest::optionsCommandOpensTheDialog() {
  CVintrelView view;
  QString caption;
  QTimer::singleShot(0, [&] {
    QWidget* shown = QApplication::activeModalWidget();
    QVERIFY(shown != nullptr);
    caption = shown->windowTitle();
    shown->findChild<QCheckBox*>("id125")->click();
    shown->findChild<QPushButton*>("id1")->click();
  });
  QVERIFY(view.OnCmdMsg(ui::Notify::kCommand, CVintrelView::kIdOptions));
  QCOMPARE(caption, QString::fromUtf8("ｵﾌﾟｼｮﾝ"));
  QVERIFY(QApplication::activeModalWidget() == nullptr);
  QCOMPARE(Entry(kDelSpac3), std::string("1"));
}

}  // namespace vintrel

QTEST_MAIN(vintrel::OptionDialogTest)
#include "option_dialog_test.moc"
