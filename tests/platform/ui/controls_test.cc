// List boxes and combo boxes addressed through control objects: sorted order, look-up,
// selection and exact bytes; the sorted work list that uses the same order.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include <algorithm>
#include <random>

#include "platform/ui/controls.h"
#include "platform/ui/dialog.h"
#include "platform/ui/list_order.h"

namespace vintrel::ui {
namespace {

class ListDialog : public Dialog {
 public:
  ListDialog() : Dialog(105) {}  // list boxes 137, 103, 139 (sorted), edit 102
};

std::vector<std::string> Entries(const ListBox& list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.GetCount(); ++i) entries.push_back(list.GetText(i));
  return entries;
}

QStringList ToList(const std::vector<std::string>& entries) {
  QStringList list;
  for (const std::string& entry : entries) list << QString::fromStdString(entry);
  return list;
}

}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void sortedListIgnoresCaseAndOrderOfAdding_data();
  void sortedListIgnoresCaseAndOrderOfAdding();
  void unsortedListAppends();
  void findStringExact_data();
  void findStringExact();
  void selectionAndDeletion();
  void entriesKeepTheirBytes();
  void hiddenListBox();
  void sortedStringListHasTheListOrder();
  void comboListLeavesTheTextAlone();
  void comboSelectionAndTexts();
};

void ControlsTest::initTestCase() {
  // Collation follows the user's locale; these tests expect an ordinary Latin ordering.
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void ControlsTest::sortedListIgnoresCaseAndOrderOfAdding_data() {
  QTest::addColumn<QStringList>("entries");
  QTest::addColumn<QStringList>("sorted");
  QTest::newRow("letter case ignored") << QStringList{"b.txt", "A.TXT", "c.doc", "a.doc"}
                                       << QStringList{"a.doc", "A.TXT", "b.txt", "c.doc"};
  QTest::newRow("folders with the parent entry")
      << QStringList{"[sub]", "[..]", "[Alpha]", "[beta]"}
      << QStringList{"[..]", "[Alpha]", "[beta]", "[sub]"};
  QTest::newRow("equal but for case: bytes decide")
      << QStringList{"readme", "README", "ReadMe"} << QStringList{"README", "ReadMe", "readme"};
  QTest::newRow("duplicates kept") << QStringList{"x", "y", "x"} << QStringList{"x", "x", "y"};
  QTest::newRow("filters") << QStringList{"*.txt", "*.*", "*.doc", "A*.TXT"}
                           << QStringList{"*.*", "*.doc", "*.txt", "A*.TXT"};
}

void ControlsTest::sortedListIgnoresCaseAndOrderOfAdding() {
  QFETCH(QStringList, entries);
  QFETCH(QStringList, sorted);
  std::vector<std::string> texts;
  for (const QString& entry : entries) texts.push_back(entry.toStdString());
  std::mt19937 shuffle(7);
  for (int round = 0; round < 4; ++round) {
    ListDialog dialog;
    QVERIFY(dialog.Create());
    ListBox list;
    list.Attach(dialog.GetDlgItem(103));
    for (const std::string& text : texts) list.AddString(text);
    QCOMPARE(ToList(Entries(list)), sorted);
    std::shuffle(texts.begin(), texts.end(), shuffle);
  }
}

void ControlsTest::unsortedListAppends() {
  ListBox list;
  QWidget parent;
  QVERIFY(list.Create(&parent, false));
  QCOMPARE(list.AddString("b"), 0);
  QCOMPARE(list.AddString("a"), 1);
  QCOMPARE(ToList(Entries(list)), (QStringList{"b", "a"}));
}

void ControlsTest::findStringExact_data() {
  QTest::addColumn<int>("startAfter");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("found");
  // The list holds, in order: "socio-", "Socio-economic", "word-", "WORD-".
  QTest::newRow("first match without regard to case") << -1 << "word-" << 2;
  QTest::newRow("other case") << -1 << "SOCIO-" << 0;
  QTest::newRow("prefix is not a match") << -1 << "socio" << -1;
  QTest::newRow("longer is not a match") << -1 << "socio--" << -1;
  QTest::newRow("starts after the given entry") << 2 << "Word-" << 3;
  QTest::newRow("wraps round to the start") << 3 << "word-" << 2;
  QTest::newRow("blank in front counts") << -1 << " socio-" << -1;
  QTest::newRow("Japanese") << -1 << QString::fromUtf8("ﾊｲﾌﾝ") << -1;
}

void ControlsTest::findStringExact() {
  QFETCH(int, startAfter);
  QFETCH(QString, text);
  QFETCH(int, found);
  QWidget parent;
  ListBox list;
  QVERIFY(list.Create(&parent, true));
  for (const char* word : {"word-", "Socio-economic", "WORD-", "socio-"}) list.AddString(word);
  QCOMPARE(ToList(Entries(list)), (QStringList{"socio-", "Socio-economic", "WORD-", "word-"}));
  QCOMPARE(list.FindStringExact(startAfter, text.toStdString()), found == -1 ? -1 : found);
}

void ControlsTest::selectionAndDeletion() {
  QWidget parent;
  ListBox list;
  QVERIFY(list.Create(&parent, true));
  QCOMPARE(list.GetCurSel(), kListError);
  for (const char* name : {"c", "a", "b"}) list.AddString(name);
  QCOMPARE(list.SetCurSel(1), 1);
  QCOMPARE(list.GetCurSel(), 1);
  QCOMPARE(list.SetCurSel(7), kListError);
  QCOMPARE(list.GetCurSel(), kListError);
  list.SetCurSel(2);
  QCOMPARE(list.DeleteString(2), 2);
  QCOMPARE(list.GetCurSel(), kListError);
  QCOMPARE(list.DeleteString(5), kListError);
  list.ResetContent();
  QCOMPARE(list.GetCount(), 0);
  QCOMPARE(list.GetText(0), std::string());
}

void ControlsTest::entriesKeepTheirBytes() {
  QWidget parent;
  ListBox list;
  QVERIFY(list.Create(&parent, true));
  const std::string latin1 = "caf\xe9.txt";  // not UTF-8
  const std::string sjis = "\x95\x5c.TXT";   // Shift-JIS
  const std::string utf8 = "表.txt";
  for (const std::string& name : {latin1, sjis, utf8}) list.AddString(name);
  std::vector<std::string> got = Entries(list);
  for (const std::string& name : {latin1, sjis, utf8}) {
    QVERIFY2(std::count(got.begin(), got.end(), name) == 1, name.c_str());
  }
  QCOMPARE(list.GetText(list.FindStringExact(-1, utf8)), utf8);
  QCOMPARE(list.GetText(list.FindStringExact(-1, latin1)), latin1);
  QCOMPARE(list.FindStringExact(-1, "caf\xe8.txt"), kListError);
}

void ControlsTest::hiddenListBox() {
  QWidget parent;
  {
    ListBox list;
    QVERIFY(list.Create(&parent, true));
    QVERIFY(list.widget()->isHidden());
    QCOMPARE(list.widget()->parentWidget(), &parent);
    QCOMPARE(parent.findChildren<QListWidget*>().size(), 1);
    list.DestroyWindow();
    QVERIFY(!list.IsBound());
    QCOMPARE(parent.findChildren<QListWidget*>().size(), 0);
    QVERIFY(list.Create(&parent, true));
  }
  // The object's end takes its list with it.
  QCOMPARE(parent.findChildren<QListWidget*>().size(), 0);
}

void ControlsTest::sortedStringListHasTheListOrder() {
  const std::vector<std::string> names = {
      "b.txt", "A.TXT", "C.DOC", "a.doc", "_x", "10.txt", "9.txt", "B.TXT", "\xe3\x81\x82.txt",
      "z"};
  QWidget parent;
  ListBox list;
  QVERIFY(list.Create(&parent, true));
  SortedStringList work;
  for (const std::string& name : names) {
    list.AddString(name);
    work.AddString(name);
  }
  QCOMPARE(work.GetCount(), list.GetCount());
  for (int i = 0; i < work.GetCount(); ++i) QCOMPARE(work.GetText(i), list.GetText(i));
  QVERIFY(CompareListText("a", "B") < 0);
  QVERIFY(CompareListText("B", "a") > 0);
  QCOMPARE(CompareListText("same", "same"), 0);
  work.ResetContent();
  QCOMPARE(work.GetCount(), 0);
}

void ControlsTest::comboListLeavesTheTextAlone() {
  class FormDialog : public Dialog {
   public:
    FormDialog() : Dialog(2) {}
  } dialog;
  QVERIFY(dialog.Create());
  ComboBox combo;
  combo.Attach(dialog.GetDlgItem(107));
  combo.SetWindowText("*.rtf");
  for (const char* filter : {"*.txt", "*.*", "*.doc"}) combo.AddString(filter);
  QCOMPARE(combo.GetWindowText(), std::string("*.rtf"));
  QCOMPARE(combo.GetCurSel(), kListError);
  QCOMPARE(combo.GetCount(), 3);
  QCOMPARE(combo.GetLBText(0), std::string("*.*"));
  QCOMPARE(combo.GetLBText(2), std::string("*.txt"));
  combo.ResetContent();
  QCOMPARE(combo.GetCount(), 0);
  QCOMPARE(combo.GetWindowText(), std::string());
}

void ControlsTest::comboSelectionAndTexts() {
  class FormDialog : public Dialog {
   public:
    FormDialog() : Dialog(2) {}
  } dialog;
  QVERIFY(dialog.Create());
  ComboBox combo;
  combo.Attach(dialog.GetDlgItem(107));
  const std::string odd = "*.\xff";
  for (const std::string& filter : {std::string("*.txt"), odd, std::string("*.TXT")}) {
    combo.AddString(filter);
  }
  int at = combo.FindStringExact(-1, odd);
  QVERIFY(at != kListError);
  QCOMPARE(combo.SetCurSel(at), at);
  QCOMPARE(combo.GetWindowText(), odd);
  QCOMPARE(combo.GetLBText(combo.FindStringExact(-1, "*.Txt")), std::string("*.TXT"));
  QCOMPARE(combo.SetCurSel(-1), kListError);
  QCOMPARE(combo.GetWindowText(), std::string());
  QCOMPARE(combo.DeleteString(0), 2);
}

}  // namespace vintrel::ui

QTEST_MAIN(vintrel::ui::ControlsTest)
#include "controls_test.moc"
