// Conversion runs from the main form: the start button over the current folder and the
// filter, dropped files, output naming with its dialog and messages, the end states of a
// run, errors in the middle of a file and what the window may do while a run converts.

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <errno.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/vintrel_app.h"
#include "app/vintrel_view.h"
#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/ui/frame_window.h"
#include "platform/ui/message_box.h"
#include "tests/support/temp_dir.h"

namespace vintrel {
namespace {

namespace fs = std::filesystem;

// An input with a hyphenated word, an exception word and a leading indent, and what it
// becomes with "socio-" on the word list and without it.
const char kInput[] = "exam-\nple text\n  socio-\neconomic x\n";
const char kWithWord[] = "example\r\ntext\r\n  socio-economic\r\nx\r\n";
const char kWithoutWord[] = "example\r\ntext\r\n  socioeconomic\r\nx\r\n";

const char kNothingToDo[] = "処理するファイルがなかった(;_;)...";
const char kFinished[] = "作業終了しました。";

// Many lines, so that a run over it lets the window handle events several times. Each
// line becomes itself with CR LF.
const char kLargeLine[] = "a line of OCR text without a hyphen at its end\n";
std::string LargeInput(size_t lines) {
  std::string text;
  text.reserve(lines * sizeof kLargeLine);
  for (size_t i = 0; i < lines; ++i) text += kLargeLine;
  return text;
}

// Names of the entries of FOLDER, sorted by bytes.
QStringList Entries(const std::string& folder) {
  QStringList names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names << QString::fromStdString(entry.path().filename().string());
  }
  names.sort();
  return names;
}

QString Label(const CVintrelView& view, int id) {
  return qobject_cast<QLabel*>(view.GetDlgItem(id))->text();
}

// Answers every confirmation dialog that opens while it lives: records the path it shows,
// clicks the boxes CLICKS and then OK.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::vector<int> clicks, QString ext = QString())
      : clicks_(std::move(clicks)), ext_(std::move(ext)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(5);
  }
  const QStringList& asked() const { return asked_; }

 private:
  void Poll() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    auto* name = dialog->findChild<QLabel*>("id126");
    if (name == nullptr) return;
    asked_ << name->text();
    for (int id : clicks_) dialog->findChild<QCheckBox*>(QString("id%1").arg(id))->click();
    if (!ext_.isNull()) dialog->findChild<QLineEdit*>("id114")->setText(ext_);
    dialog->findChild<QPushButton*>("id1")->click();
  }

  std::vector<int> clicks_;
  QString ext_;
  QTimer timer_;
  QStringList asked_;
};

}  // namespace

class ConversionRunTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void startConvertsTheMatchingFiles();
  void startPassesOverHiddenSystemAndFolderEntries();
  void startOpensInputsWhereTheListingFoundThem_data();
  void startOpensInputsWhereTheListingFoundThem();
  void nothingToConvert();
  void afterFileDoubleClickStartConvertsThatFile();
  void dropConvertsInDropOrder();
  void emptyDropDoesNothing();
  void askedNamesAreAnsweredThroughTheDialog_data();
  void askedNamesAreAnsweredThroughTheDialog();
  void doNotAskAgainHoldsForTheRestOfTheRun();
  void outputNamingTheInputLeavesItIntact_data();
  void outputNamingTheInputLeavesItIntact();
  void allNumberedNamesTaken();
  void makeOutputNameReadsTheSettingsAtEachCall_data();
  void makeOutputNameReadsTheSettingsAtEachCall();
  void writeErrorRemovesTheOutputAndReturnsToIdle();
  void wordListIsReadAtEachRun();
  void runOptionsComeFromTheProfile_data();
  void runOptionsComeFromTheProfile();
  void dropAndStartDuringARunAreRefused();
  void closingDuringARunStopsItAndCloses();

 private:
  void Write(const std::string& name, const std::string& bytes) { work_->WriteFile(name, bytes); }
  std::string Read(const std::string& name) const {
    return test::ReadFileBytes(work_->Child(name));
  }
  void SetProfile(const std::string& text) { config_->WriteFile("vintrel.INI", text); }
  void SetWords(const std::string& text) { config_->WriteFile("vintrel.lst", text); }
  // Shows FOLDER and FILTER in the form, as the user would leave them.
  void Browse(const std::string& folder, const std::string& filter) {
    view_->m_strFolder = folder;
    view_->m_strFilter = filter;
    view_->UpdateData(false);
  }
  void ClickStart() { qobject_cast<QPushButton*>(view_->GetDlgItem(106))->click(); }
  void VerifyIdle() {
    QCOMPARE(view_->m_bBusy, 0);
    QVERIFY(view_->GetDlgItem(106)->isEnabled());
    QVERIFY(view_->m_mapKeepWords.IsEmpty());
  }

  std::unique_ptr<test::ScopedTempDir> config_;
  std::unique_ptr<test::ScopedEnv> xdg_;
  std::unique_ptr<test::ScopedTempDir> work_;
  std::unique_ptr<CVintrelApp> app_;
  CVintrelView* view_ = nullptr;
};

void ConversionRunTest::init() {
  config_ = std::make_unique<test::ScopedTempDir>();
  xdg_ = std::make_unique<test::ScopedEnv>("XDG_CONFIG_HOME", config_->path());
  work_ = std::make_unique<test::ScopedTempDir>();
  SetWords("socio-\n");
  app_ = std::make_unique<CVintrelApp>();
  app_->InitInstance();
  QVERIFY(app_->GetMainWnd() != nullptr);
  view_ = dynamic_cast<CVintrelView*>(app_->GetMainWnd()->GetActiveView());
  QVERIFY(view_ != nullptr);
  Browse(work_->folder(), "*.*");
}

void ConversionRunTest::cleanup() {
  view_ = nullptr;
  app_.reset();
  QCoreApplication::processEvents();
  work_.reset();
  xdg_.reset();
  config_.reset();
  QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void ConversionRunTest::startConvertsTheMatchingFiles() {
  // The outputs go into a folder of their own; the asked names show the order of the run.
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n[Filename]\nMode=1\n");
  for (const char* name : {"D.TXT", "c.txt", "A.TXT", "b.txt", "C.DOC"}) {
    Write(name, kInput);
  }
  // Every first candidate is in use, so the run asks about each name in turn.
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"}) {
    std::ofstream(out + name) << "old";
  }
  Browse(work_->folder(), "*.txt");
  ui::ScopedMessageBoxCapture capture;
  DialogAnswerer answerer({111});  // automatic numbering
  ClickStart();

  const QString o = QString::fromStdString(out);
  QCOMPARE(answerer.asked(), QStringList({o + "A.TXT", o + "B.TXT", o + "C.TXT", o + "D.TXT"}));
  QCOMPARE(Entries(out),
           QStringList({"A.000", "A.TXT", "B.000", "B.TXT", "C.000", "C.TXT", "D.000", "D.TXT"}));
  for (const char* name : {"A.000", "B.000", "C.000", "D.000"}) {
    QCOMPARE(test::ReadFileBytes(out + name), std::string(kWithWord));
  }
  QCOMPARE(test::ReadFileBytes(out + "A.TXT"), std::string("old"));
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
  QCOMPARE(Label(*view_, 133), QString());
  QCOMPARE(capture.events().size(), size_t{0});
  VerifyIdle();
  // The inputs are untouched, C.DOC did not match.
  QCOMPARE(Read("b.txt"), std::string(kInput));
  QCOMPARE(Entries(work_->path()),
           QStringList({"A.TXT", "C.DOC", "D.TXT", "b.txt", "c.txt", "out"}));
}

void ConversionRunTest::startPassesOverHiddenSystemAndFolderEntries() {
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n");
  Write("plain.txt", kInput);
  Write(".hidden.txt", kInput);  // hidden: 2
  Write("locked.txt", kInput);   // read-only: 33, converted
  chmod(work_->Child("locked.txt").c_str(), 0444);
  work_->MakeFolder("folder.txt");                               // folder: 16
  QVERIFY(mkfifo(work_->Child("pipe.txt").c_str(), 0600) == 0);  // system: 4
  Browse(work_->folder(), "*.txt");
  ui::ScopedMessageBoxCapture capture;
  ClickStart();
  QCOMPARE(Entries(out), QStringList({"LOCKED.TXT", "PLAIN.TXT"}));
  QCOMPARE(test::ReadFileBytes(out + "LOCKED.TXT"), std::string(kWithWord));
  QCOMPARE(capture.events().size(), size_t{0});
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
}

void ConversionRunTest::startOpensInputsWhereTheListingFoundThem_data() {
  QTest::addColumn<QString>("typed");   // folder text in edit 102, below the work folder
  QTest::addColumn<QString>("filter");  // filter text
  QTest::addColumn<QString>("output");  // the output expected in the output folder
  // The folder "work" exists: typed without '/', it lists its parent's entries that match
  // "work*.txt", and those files are opened in the parent.
  QTest::newRow("folder without slash") << "work"
                                        << "*.txt"
                                        << "WORKA.TXT";
  QTest::newRow("folder with slash") << "work/"
                                     << "*.txt"
                                     << "INNER.TXT";
  QTest::newRow("empty filter lists the folder") << "work/"
                                                 << ""
                                                 << "INNER.TXT";
  QTest::newRow("folder itself as the pattern") << "work"
                                                << ""
                                                << "INNER.TXT";
  QTest::newRow("filter in other letter case") << "work/"
                                               << "INNER.*"
                                               << "INNER.TXT";
  QTest::newRow("relative to the current folder") << "(relative)"
                                                  << "*.txt"
                                                  << "INNER.TXT";
}

void ConversionRunTest::startOpensInputsWhereTheListingFoundThem() {
  QFETCH(QString, typed);
  QFETCH(QString, filter);
  QFETCH(QString, output);
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n");
  work_->MakeFolder("work");
  Write("workA.txt", kInput);
  Write("work/Inner.txt", kInput);
  std::string folder = work_->folder() + typed.toStdString();
  std::string old_cwd = fs::current_path();
  if (typed == "(relative)") {
    fs::current_path(work_->path());
    folder = "work/";
  }
  Browse("", "*.*");
  view_->m_edtFolder.SetWindowText(folder);
  view_->m_cmbFilter.SetWindowText(filter.toStdString());
  ui::ScopedMessageBoxCapture capture;
  view_->OnStart();
  fs::current_path(old_cwd);
  QCOMPARE(capture.texts(), std::vector<std::string>());
  QCOMPARE(Entries(out), QStringList({output}));
  QCOMPARE(test::ReadFileBytes(out + output.toStdString()), std::string(kWithWord));
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
  // The form shows the folder as typed.
  QCOMPARE(view_->m_edtFolder.GetWindowText(), folder);
}

void ConversionRunTest::nothingToConvert() {
  Write("a.doc", kInput);
  Browse(work_->folder(), "*.txt");
  view_->m_stcStatus.SetWindowText("before");
  view_->m_stcSubStatus.SetWindowText("before too");
  ui::ScopedMessageBoxCapture capture;
  ClickStart();
  QCOMPARE(capture.events().size(), size_t{2});
  QVERIFY(capture.events()[0].beep);
  QCOMPARE(capture.events()[1].text, std::string(kNothingToDo));
  QCOMPARE(capture.events()[1].owner, view_->widget());
  QCOMPARE(Label(*view_, 108), QString("before"));
  QCOMPARE(Label(*view_, 133), QString("before too"));
  VerifyIdle();
  QCOMPARE(Entries(work_->path()), QStringList({"a.doc"}));

  // A folder that cannot be listed has nothing to convert either.
  Browse(work_->Child("missing/"), "*.*");
  capture.Clear();
  ClickStart();
  QCOMPARE(capture.texts(), std::vector<std::string>({kNothingToDo}));
  VerifyIdle();
}

void ConversionRunTest::afterFileDoubleClickStartConvertsThatFile() {
  Write("one.doc", kInput);
  Write("two.doc", kInput);
  Browse(work_->folder(), "*.doc");
  view_->m_lstFiles.ResetContent();
  view_->FillFileList();
  QCOMPARE(view_->m_lstFiles.GetCount(), 2);
  view_->m_lstFiles.SetCurSel(1);
  view_->OnDblclkFileList();
  ClickStart();
  QCOMPARE(Entries(work_->path()), QStringList({"TWO.TXT", "one.doc", "two.doc"}));
}

void ConversionRunTest::dropConvertsInDropOrder() {
  // Two dropped files of the same name from two folders: the second finds the first's
  // output and takes a numbered name, which shows the order. The outputs go into the form's
  // folder, not beside the dropped files; a dropped folder is passed over.
  test::ScopedTempDir one;
  test::ScopedTempDir two;
  one.WriteFile("x.txt", "first-\nline one\n");
  two.WriteFile("X.TXT", "second\n");
  two.MakeFolder("folder");
  one.WriteFile("表.txt", kInput);
  ui::ScopedMessageBoxCapture capture;
  view_->OnDropFiles(
      {two.Child("X.TXT"), two.Child("folder"), one.Child("x.txt"), one.Child("表.txt")});
  QCOMPARE(Entries(work_->path()), QStringList({"X.000", "X.TXT", "表.TXT"}));
  QCOMPARE(Read("X.TXT"), std::string("second\r\n"));
  QCOMPARE(Read("X.000"), std::string("firstline\r\none\r\n"));
  QCOMPARE(Read("表.TXT"), std::string(kWithWord));
  QCOMPARE(capture.events().size(), size_t{0});
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
  QCOMPARE(Label(*view_, 133), QString());
  VerifyIdle();
  QCOMPARE(Entries(one.path()), QStringList({"x.txt", "表.txt"}));
}

void ConversionRunTest::emptyDropDoesNothing() {
  view_->m_stcStatus.SetWindowText("before");
  ui::ScopedMessageBoxCapture capture;
  view_->OnDropFiles({});
  QCOMPARE(capture.events().size(), size_t{0});
  QCOMPARE(Label(*view_, 108), QString("before"));
  VerifyIdle();
}

void ConversionRunTest::askedNamesAreAnsweredThroughTheDialog_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("clicks");  // boxes clicked in the dialog, e.g. "112"
  QTest::addColumn<QString>("ext");     // typed extension; null: as shown
  QTest::addColumn<QString>("output");  // the file converted into
  QTest::addColumn<int>("storedMode");
  const QString ask = "[Filename]\nMode=1\n";
  QTest::newRow("automatic numbering") << ask << "111" << QString() << "REPORT.000" << 1;
  QTest::newRow("overwrite") << ask << "112" << QString() << "REPORT.TXT" << 1;
  QTest::newRow("other extension") << ask << ""
                                   << ".new"
                                   << "REPORT.new" << 1;
  QTest::newRow("extension as shown") << ask + "[Default]\nExt=.OUT\n"
                                      << "" << QString() << "REPORT.OUT" << 1;
  QTest::newRow("overwrite for good") << ask << "112,130" << QString() << "REPORT.TXT" << 2;
}

void ConversionRunTest::askedNamesAreAnsweredThroughTheDialog() {
  QFETCH(QString, profile);
  QFETCH(QString, clicks);
  QFETCH(QString, ext);
  QFETCH(QString, output);
  QFETCH(int, storedMode);
  const std::string out = work_->MakeFolder("out") + "/";
  std::string text = profile.toStdString() + "[Regist]\nOutDir=" + out + "\n";
  SetProfile(text);
  // The name in use, whatever the extension setting is.
  std::ofstream(out + "REPORT.TXT") << "old";
  std::ofstream(out + "REPORT.OUT") << "old";
  Write("report.doc", kInput);
  std::vector<int> boxes;
  if (!clicks.isEmpty()) {
    for (const QString& id : clicks.split(',')) boxes.push_back(id.toInt());
  }
  DialogAnswerer answerer(boxes, ext);
  Browse(work_->folder(), "*.doc");
  ClickStart();
  QCOMPARE(answerer.asked().size(), 1);
  QCOMPARE(test::ReadFileBytes(out + output.toStdString()), std::string(kWithWord));
  QCOMPARE(Label(*view_, 133), QString());
  QCOMPARE(Profile(ProfilePath()).GetProfileInt("Filename", "Mode", -9), storedMode);
  // The extension typed in the dialog is never stored.
  QVERIFY(Profile(ProfilePath()).GetProfileString("Default", "Ext", "") != ".new");
}

void ConversionRunTest::doNotAskAgainHoldsForTheRestOfTheRun() {
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Filename]\nMode=1\n[Regist]\nOutDir=" + out + "\n");
  for (const char* name : {"A", "B", "C"}) {
    Write(std::string(name) + ".doc", kInput);
    std::ofstream(out + name + ".TXT") << "old";
  }
  // Asked once, "automatic numbering, do not ask again"; the later names are numbered.
  DialogAnswerer answerer({111, 130});
  Browse(work_->folder(), "*.doc");
  ClickStart();
  QCOMPARE(answerer.asked().size(), 1);
  QCOMPARE(Entries(out), QStringList({"A.000", "A.TXT", "B.000", "B.TXT", "C.000", "C.TXT"}));
  QCOMPARE(Profile(ProfilePath()).GetProfileInt("Filename", "Mode", -9), 0);
}

void ConversionRunTest::outputNamingTheInputLeavesItIntact_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<bool>("drop");
  QTest::newRow("overwrite, start") << "[Filename]\nMode=2\n" << false;
  QTest::newRow("overwrite, drop") << "[Filename]\nMode=2\n" << true;
  QTest::newRow("output folder is the input's")
      << "[Filename]\nMode=2\n[Regist]\nOutDir=(work)" << false;
  QTest::newRow("output folder without slash")
      << "[Filename]\nMode=2\n[Regist]\nOutDir=(work-)" << false;
  QTest::newRow("ask, answered overwrite") << "[Filename]\nMode=1\n(112)" << false;
  QTest::newRow("ask, extension as shown")
      << "[Filename]\nMode=1\n[Default]\nExt=.TXT\n(ok)" << false;
}

void ConversionRunTest::outputNamingTheInputLeavesItIntact() {
  QFETCH(QString, profile);
  QFETCH(bool, drop);
  std::string text = profile.toStdString();
  auto replace = [&text](const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
  };
  std::vector<int> clicks;
  if (text.find("(112)") != std::string::npos) clicks = {112};
  replace("(112)", "");
  replace("(ok)", "");
  replace("(work)", work_->folder() + "\n");
  replace("(work-)", work_->path() + "\n");
  SetProfile(text);
  // REPORT.TXT sorts first; the run stops there, so ZZZ.DOC is not converted.
  Write("REPORT.TXT", kInput);
  Write("ZZZ.DOC", kInput);
  DialogAnswerer answerer(clicks);
  ui::ScopedMessageBoxCapture capture;
  if (drop) {
    view_->OnDropFiles({work_->Child("REPORT.TXT"), work_->Child("ZZZ.DOC")});
  } else {
    Browse(work_->folder(), "*.*");
    ClickStart();
  }
  QCOMPARE(Read("REPORT.TXT"), std::string(kInput));
  QCOMPARE(Entries(work_->path()), QStringList({"REPORT.TXT", "ZZZ.DOC"}));
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
  QCOMPARE(capture.events().size(), size_t{0});
  VerifyIdle();
}

void ConversionRunTest::allNumberedNamesTaken() {
  for (int n = 0; n < 1000; ++n) {
    char name[16];
    snprintf(name, sizeof name, "R.%03d", n);
    Write(name, "");
  }
  Write("r.txt", kInput);
  Write("s.txt", kInput);
  Browse(work_->folder(), "*.txt");
  ui::ScopedMessageBoxCapture capture;
  ClickStart();
  // R.TXT is the input itself (in use), .000 to .999 are taken: the run stops at once.
  QCOMPARE(capture.events().size(), size_t{2});
  QVERIFY(capture.events()[0].beep);
  QCOMPARE(capture.events()[1].text, std::string("出力先ファイルの作成に失敗しました。"));
  QCOMPARE(capture.events()[1].owner, view_->widget());
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
  QCOMPARE(Label(*view_, 133), QString());
  QVERIFY(!fs::exists(work_->Child("S.TXT")));
  VerifyIdle();

  // The name alone, asked directly.
  capture.Clear();
  QCOMPARE(view_->MakeOutputName("R.TXT"), std::string());
  QCOMPARE(capture.beeps(), 1);
  Write("R.999", "");
  fs::remove(work_->Child("R.999"));
  QCOMPARE(view_->MakeOutputName("R.TXT"), work_->Child("R.999"));
}

void ConversionRunTest::makeOutputNameReadsTheSettingsAtEachCall_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("expected");  // (work)/ stands for the form's folder
  QTest::newRow("defaults") << ""
                            << "REPORT.DOC"
                            << "(work)/REPORT.TXT";
  QTest::newRow("stored extension") << "[Default]\nExt=.out\n"
                                    << "REPORT.DOC"
                                    << "(work)/REPORT.out";
  QTest::newRow("extension without dot") << "[Default]\nExt=txt\n"
                                         << "REPORT.DOC"
                                         << "(work)/REPORTtxt";
  QTest::newRow("no dot in name") << ""
                                  << "README"
                                  << "(work)/README.TXT";
  QTest::newRow("name starting with a dot") << ""
                                            << ".PROFILE"
                                            << "(work)/.TXT";
  QTest::newRow("first dot ends the base") << ""
                                           << "A.B.C"
                                           << "(work)/A.TXT";
  QTest::newRow("input in use, numbered") << ""
                                          << "IN.TXT"
                                          << "(work)/IN.000";
  QTest::newRow("policy 7 acts as 0") << "[Filename]\nMode=7\n"
                                      << "IN.TXT"
                                      << "(work)/IN.000";
  QTest::newRow("overwrite") << "[Filename]\nMode=2\n"
                             << "IN.TXT"
                             << "(work)/IN.TXT";
  QTest::newRow("output folder") << "[Regist]\nOutDir=(work)/sub/\n"
                                 << "IN.TXT"
                                 << "(work)/sub/IN.TXT";
  QTest::newRow("output folder without slash") << "[Regist]\nOutDir=(work)/sub\n"
                                               << "IN.TXT"
                                               << "(work)/sub/IN.TXT";
  QTest::newRow("output folder keeps its case") << "[Regist]\nOutDir=(work)/Sub-Dir/\n"
                                                << "IN.TXT"
                                                << "(work)/Sub-Dir/IN.TXT";
}

void ConversionRunTest::makeOutputNameReadsTheSettingsAtEachCall() {
  QFETCH(QString, profile);
  QFETCH(QString, name);
  QFETCH(QString, expected);
  const QString work = QString::fromStdString(work_->path());
  SetProfile(profile.replace("(work)", work).toStdString());
  work_->MakeFolder("sub");
  work_->MakeFolder("Sub-Dir");
  Write("in.txt", kInput);
  Browse(work_->folder(), "*.*");
  ui::ScopedMessageBoxCapture capture;
  QCOMPARE(QString::fromStdString(view_->MakeOutputName(name.toStdString())),
           expected.replace("(work)", work));
  QCOMPARE(capture.events().size(), size_t{0});
  // A change of the settings applies at the next call.
  SetProfile("[Default]\nExt=.NEXT\n[Regist]\nOutDir=" + work_->folder() + "sub/\n");
  QCOMPARE(view_->MakeOutputName("Z.DOC"), work_->folder() + "sub/Z.NEXT");
}

void ConversionRunTest::writeErrorRemovesTheOutputAndReturnsToIdle() {
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n");
  const std::string large = LargeInput(20000);  // about 1 MB
  Write("a.txt", large);
  Write("b.txt", kInput);
  Browse(work_->folder(), "*.txt");
  ui::ScopedMessageBoxCapture capture;
  // Files may grow to 4 kB only: a write beyond fails with EFBIG instead of a signal.
  struct rlimit old_limit;
  QVERIFY(getrlimit(RLIMIT_FSIZE, &old_limit) == 0);
  struct rlimit limit = old_limit;
  limit.rlim_cur = 4096;
  QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
  sighandler_t old_handler = signal(SIGXFSZ, SIG_IGN);
  ClickStart();
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);

  QCOMPARE(capture.texts(), std::vector<std::string>({out + "A.TXT: " + strerror(EFBIG)}));
  QCOMPARE(capture.events().back().owner, view_->widget());
  // The incomplete output is gone and the run went no further.
  QCOMPARE(Entries(out), QStringList());
  QCOMPARE(Read("a.txt"), large);
  VerifyIdle();
  // The status lines still name the file that failed.
  QCOMPARE(Label(*view_, 108), QString("[ A.TXT ]==>"));
  QCOMPARE(Label(*view_, 133), QString::fromStdString("[ " + out + "A.TXT ]"));

  // The next run works.
  capture.Clear();
  ClickStart();
  QCOMPARE(Entries(out), QStringList({"A.TXT", "B.TXT"}));
  QCOMPARE(capture.events().size(), size_t{0});
}

void ConversionRunTest::wordListIsReadAtEachRun() {
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n[Filename]\nMode=2\n");
  Write("a.txt", kInput);
  Browse(work_->folder(), "*.txt");
  ClickStart();
  QCOMPARE(test::ReadFileBytes(out + "A.TXT"), std::string(kWithWord));
  QVERIFY(view_->m_mapKeepWords.IsEmpty());
  SetWords("other-\n");
  ClickStart();
  QCOMPARE(test::ReadFileBytes(out + "A.TXT"), std::string(kWithoutWord));
  // No list at all: no exception words, and nothing said.
  SetWords("socio-\n");
  fs::remove(config_->Child("vintrel.lst"));
  ui::ScopedMessageBoxCapture capture;
  view_->OnDropFiles({work_->Child("a.txt")});
  QCOMPARE(capture.events().size(), size_t{0});
  QCOMPARE(test::ReadFileBytes(out + "A.TXT"), std::string(kWithoutWord));
}

void ConversionRunTest::runOptionsComeFromTheProfile_data() {
  QTest::addColumn<QString>("profile");
  QTest::addColumn<QString>("output");
  // The input is "   A  B\n      C\n   d-\nxy z\n".
  QTest::newRow("defaults") << ""
                            << "   A  B\r\n      C\r\n   dxy\r\nz\r\n";
  QTest::newRow("delete all") << "[Default]\nDelAll=1\n"
                              << "A  B\r\nC\r\ndxy\r\nz\r\n";
  QTest::newRow("delete all wins") << "[Default]\nDelAll=1\nDelColumn=1\nColumn=2\n"
                                   << "A  B\r\nC\r\ndxy\r\nz\r\n";
  QTest::newRow("column 2") << "[Default]\nDelColumn=1\nColumn=2\n"
                            << "  A  B\r\n  C\r\ndxy\r\nz\r\n";
  QTest::newRow("collapse spaces") << "[Default]\nDelSpac3=1\n"
                                   << " A B\r\n C\r\n dxy\r\nz\r\n";
}

void ConversionRunTest::runOptionsComeFromTheProfile() {
  QFETCH(QString, profile);
  QFETCH(QString, output);
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile(profile.toStdString() + "[Regist]\nOutDir=" + out + "\n");
  Write("a.txt", "   A  B\n      C\n   d-\nxy z\n");
  Browse(work_->folder(), "a.txt");
  ClickStart();
  QCOMPARE(QString::fromStdString(test::ReadFileBytes(out + "A.TXT")), output);
}

void ConversionRunTest::dropAndStartDuringARunAreRefused() {
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n");
  const std::string large = LargeInput(200000);  // about 8 MB
  Write("big.txt", large);
  Write("late.doc", kInput);
  // While the drop converts big.txt, another drop, a click on the start button and a
  // start request that bypasses the disabled button arrive.
  int busy_seen = 0;
  bool start_enabled = true;
  QTimer::singleShot(0, [&] {
    busy_seen = view_->m_bBusy;
    start_enabled = view_->GetDlgItem(106)->isEnabled();
    view_->OnDropFiles({work_->Child("late.doc")});
    qobject_cast<QPushButton*>(view_->GetDlgItem(106))->click();
    view_->OnStart();
  });
  ui::ScopedMessageBoxCapture capture;
  view_->OnDropFiles({work_->Child("big.txt")});
  QCOMPARE(busy_seen, 1);
  QVERIFY(!start_enabled);
  QCOMPARE(capture.beeps(), 1);  // the refused drop
  QCOMPARE(capture.texts(), std::vector<std::string>());
  QCOMPARE(Entries(out), QStringList({"BIG.TXT"}));
  QCOMPARE(test::ReadFileBytes(out + "BIG.TXT").size(), large.size() + 200000);
  QCOMPARE(Label(*view_, 108), QString::fromUtf8(kFinished));
  VerifyIdle();
}

void ConversionRunTest::closingDuringARunStopsItAndCloses() {
  const std::string out = work_->MakeFolder("out") + "/";
  SetProfile("[Regist]\nOutDir=" + out + "\n");
  Write("a.txt", LargeInput(200000));
  Write("b.txt", kInput);
  QPointer<QMainWindow> frame = app_->GetMainWnd()->widget();
  bool refused = false;
  QTimer::singleShot(0, [&] {
    frame->close();
    refused = frame->isVisible();
  });
  Browse(work_->folder(), "*.txt");
  ui::ScopedMessageBoxCapture capture;
  ClickStart();
  QVERIFY(refused);
  // Stopped after the line at hand: the incomplete output is gone, b.txt was not reached.
  QCOMPARE(Entries(out), QStringList());
  VerifyIdle();
  QCOMPARE(capture.events().size(), size_t{0});
  // The frame closes once control is back in the event loop.
  QTRY_VERIFY(frame.isNull() || !frame->isVisible());
}

}  // namespace vintrel

QTEST_MAIN(vintrel::ConversionRunTest)
#include "conversion_run_test.moc"
