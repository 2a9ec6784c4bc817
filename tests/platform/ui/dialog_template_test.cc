// Windows built from dialog templates: controls, ids, texts, sizes in pixels, Tab order,
// and a modal dialog's OK and Cancel.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "platform/ui/dialog.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/resources.h"

namespace vintrel::ui {
namespace {

class PlainDialog : public Dialog {
 public:
  explicit PlainDialog(int id) : Dialog(id) {}
};

QStringList TabChain(QWidget* window) {
  QStringList names;
  QWidget* first = window->nextInFocusChain();
  QWidget* at = first;
  do {
    if (at->focusPolicy() & Qt::TabFocus) {
      if (at->parentWidget() == window) names << at->objectName();
    }
    at = at->nextInFocusChain();
  } while (at != first && at != window);
  return names;
}

}  // namespace

class DialogTemplateTest : public QObject {
  Q_OBJECT

 private slots:
  void templatesHoldTheirControls_data();
  void templatesHoldTheirControls();
  void controlGeometryIsTwoPixelsPerUnit_data();
  void controlGeometryIsTwoPixelsPerUnit();
  void tabOrderFollowsTheTemplate_data();
  void tabOrderFollowsTheTemplate();
  void controlKindsAndStyles();
  void fieldsAreNamedByTheirLabels_data();
  void fieldsAreNamedByTheirLabels();
  void okAndCancelEndTheModalLoop_data();
  void okAndCancelEndTheModalLoop();
  void missingTemplate();
};

void DialogTemplateTest::templatesHoldTheirControls_data() {
  QTest::addColumn<int>("templateId");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QList<int>>("ids");
  QTest::addColumn<QSize>("pixels");
  QTest::newRow("main form 2") << 2 << QString() << QList<int>{106, 102, 103, 104, 105, -1, -1,
                                                               -1,  108, -1,  -1,  133, 107}
                               << QSize(562, 452);
  QTest::newRow("about box 100") << 100 << QString::fromUtf8("VINTREL のバージョン情報")
                                 << QList<int>{-1, 132, 1, -1} << QSize(434, 276);
  QTest::newRow("options 103") << 103 << QString::fromUtf8("ｵﾌﾟｼｮﾝ")
                               << QList<int>{1,   2,   -1, 111, 112, 113, 114, -1,  117, 118, -1,
                                             119, 120, -1, 121, 122, 124, 123, 125, -1,  134, 135}
                               << QSize(500, 370);
  QTest::newRow("confirmation 104")
      << 104 << QString::fromUtf8("確認です") << QList<int>{1, -1, -1, 126, 111, 112, 129, 130, 114}
      << QSize(438, 184);
  QTest::newRow("folder chooser 105")
      << 105 << QString::fromUtf8("ディレクトリ/フォルダ名取得")
      << QList<int>{1, 2, -1, 102, 137, 103, 139, -1, -1, -1} << QSize(500, 240);
}

void DialogTemplateTest::templatesHoldTheirControls() {
  QFETCH(int, templateId);
  QFETCH(QString, caption);
  QFETCH(QList<int>, ids);
  QFETCH(QSize, pixels);
  const DialogTemplate* t = LoadDialogTemplate(templateId);
  QVERIFY(t != nullptr);
  QCOMPARE(QString::fromStdString(t->caption), caption);
  QList<int> got;
  for (const ControlTemplate& control : t->controls) got << control.id;
  QCOMPARE(got, ids);
  QCOMPARE(QSize(DialogUnitsToPixelsX(t->cx), DialogUnitsToPixelsY(t->cy)), pixels);
  if (t->child) return;

  PlainDialog dialog(templateId);
  QVERIFY(dialog.Create());
  QCOMPARE(dialog.widget()->size(), pixels);
  QCOMPARE(dialog.widget()->windowTitle(), caption);
  for (int id : ids) {
    if (id == -1) continue;
    QWidget* control = dialog.GetDlgItem(id);
    QVERIFY2(control != nullptr, qPrintable(QString("control %1").arg(id)));
    QCOMPARE(control->objectName(), QString("id%1").arg(id));
    QCOMPARE(control->property("ctrlId").toInt(), id);
  }
}

void DialogTemplateTest::controlGeometryIsTwoPixelsPerUnit_data() {
  QTest::addColumn<int>("templateId");
  QTest::addColumn<int>("controlId");
  QTest::addColumn<QRect>("pixels");
  QTest::newRow("104 check box 111 at 5,35 130x10") << 104 << 111 << QRect(10, 70, 260, 20);
  QTest::newRow("104 edit 114 at 20,65 40x13") << 104 << 114 << QRect(40, 130, 80, 26);
  QTest::newRow("103 list 117 at 5,100 80x60") << 103 << 117 << QRect(10, 200, 160, 120);
  QTest::newRow("105 OK at 195,5 50x14") << 105 << 1 << QRect(390, 10, 100, 28);
  QTest::newRow("100 text 132 at 40,10 119x8") << 100 << 132 << QRect(80, 20, 238, 16);
}

void DialogTemplateTest::controlGeometryIsTwoPixelsPerUnit() {
  QFETCH(int, templateId);
  QFETCH(int, controlId);
  QFETCH(QRect, pixels);
  PlainDialog dialog(templateId);
  QVERIFY(dialog.Create());
  QCOMPARE(dialog.GetDlgItem(controlId)->geometry(), pixels);
}

void DialogTemplateTest::tabOrderFollowsTheTemplate_data() {
  QTest::addColumn<int>("templateId");
  QTest::addColumn<QStringList>("chain");
  QTest::newRow("104") << 104 << QStringList{"id1", "id111", "id112", "id129", "id130", "id114"};
  QTest::newRow("105") << 105 << QStringList{"id1", "id2", "id102", "id137", "id103", "id139"};
}

void DialogTemplateTest::tabOrderFollowsTheTemplate() {
  QFETCH(int, templateId);
  QFETCH(QStringList, chain);
  PlainDialog dialog(templateId);
  QVERIFY(dialog.Create());
  QCOMPARE(TabChain(dialog.widget()), chain);
}

void DialogTemplateTest::controlKindsAndStyles() {
  PlainDialog dialog(103);
  QVERIFY(dialog.Create());
  auto* ok = qobject_cast<QPushButton*>(dialog.GetDlgItem(1));
  QVERIFY(ok != nullptr);
  QVERIFY(ok->isDefault());
  QVERIFY(!qobject_cast<QPushButton*>(dialog.GetDlgItem(2))->isDefault());
  QVERIFY(qobject_cast<QCheckBox*>(dialog.GetDlgItem(121)) != nullptr);
  QVERIFY(qobject_cast<QLineEdit*>(dialog.GetDlgItem(122))->hasFrame());
  QVERIFY(qobject_cast<QListWidget*>(dialog.GetDlgItem(117))->property("vintrelSorted").toBool());
  auto* caption = dialog.widget()->findChild<QLabel*>("static10");
  QVERIFY(caption != nullptr);
  QCOMPARE(caption->text(), QString::fromUtf8("ﾊｲﾌﾝを削除しない単語\nの指定(e.g. \"socio-\")"));
  QCOMPARE(qobject_cast<QLabel*>(dialog.GetDlgItem(124))->text(),
           QString::fromUtf8("桁以下なら削除"));
  QCOMPARE(dialog.widget()->font().pointSize(), 10);
}

void DialogTemplateTest::fieldsAreNamedByTheirLabels_data() {
  QTest::addColumn<int>("templateId");
  QTest::addColumn<int>("controlId");
  QTest::addColumn<QString>("name");
  QTest::newRow("filter box, label to its left") << 2 << 107 << QString::fromUtf8("ﾌｧｲﾙ名");
  QTest::newRow("folder edit, label above") << 2 << 102 << QString::fromUtf8("ﾃﾞｨﾚｸﾄﾘ名");
  QTest::newRow("file list") << 2 << 105 << QString::fromUtf8("ﾌｧｲﾙ一覧");
  QTest::newRow("drive list") << 2 << 104 << QString::fromUtf8("ﾄﾞﾗｲﾌﾞ一覧");
  QTest::newRow("two-line label") << 103 << 118
                                  << QString::fromUtf8(
                                         "ﾊｲﾌﾝを削除しない単語 の指定(e.g. \"socio-\")");
  QTest::newRow("column edit, label on its right")
      << 103 << 122 << QString::fromUtf8("桁以下なら削除");
  QTest::newRow("word list below its edit")
      << 103 << 117 << QString::fromUtf8("ﾊｲﾌﾝを削除しない単語 の指定(e.g. \"socio-\")");
  QTest::newRow("extension edit, label above wins")
      << 103 << 114 << QString::fromUtf8("出力先ﾌｧｲﾙのﾃﾞﾌｫｰﾙﾄ拡張子");
  QTest::newRow("status line has its own text") << 2 << 108 << QString();
}

void DialogTemplateTest::fieldsAreNamedByTheirLabels() {
  QFETCH(int, templateId);
  QFETCH(int, controlId);
  QFETCH(QString, name);
  PlainDialog dialog(templateId);
  QVERIFY(dialog.Create());
  QCOMPARE(dialog.GetDlgItem(controlId)->accessibleName(), name);
}

void DialogTemplateTest::okAndCancelEndTheModalLoop_data() {
  QTest::addColumn<int>("buttonId");
  QTest::addColumn<bool>("escape");
  QTest::addColumn<int>("result");
  QTest::newRow("OK button") << 1 << false << int(IDOK);
  QTest::newRow("Cancel button") << 2 << false << int(IDCANCEL);
  QTest::newRow("Esc key") << 0 << true << int(IDCANCEL);
}

void DialogTemplateTest::okAndCancelEndTheModalLoop() {
  QFETCH(int, buttonId);
  QFETCH(bool, escape);
  QFETCH(int, result);
  PlainDialog dialog(105);
  QTimer::singleShot(0, [&] {
    QWidget* shown = QApplication::activeModalWidget();
    QVERIFY(shown == dialog.widget());
    if (escape) {
      QTest::keyClick(shown, Qt::Key_Escape);
    } else {
      qobject_cast<QPushButton*>(dialog.GetDlgItem(buttonId))->click();
    }
  });
  QCOMPARE(dialog.DoModal(), result);
  QVERIFY(dialog.widget() == nullptr);
}

void DialogTemplateTest::missingTemplate() {
  PlainDialog dialog(9999);
  QCOMPARE(dialog.DoModal(), -1);
  QVERIFY(!dialog.Create());
}

}  // namespace vintrel::ui

QTEST_MAIN(vintrel::ui::DialogTemplateTest)
#include "dialog_template_test.moc"
