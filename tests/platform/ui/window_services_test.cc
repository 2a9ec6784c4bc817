// Services of the window layer: menu texts, dropped files, message boxes and the beep,
// the message pump, centring, the desktop prompts.

#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dropped_files.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_pump.h"
#include "platform/ui/resources.h"

namespace vintrel::ui {
namespace {

class DropDialog : public Dialog {
 public:
  DropDialog() : Dialog(104) {}
  std::vector<std::vector<std::string>> drops;
  void OnDropFiles(std::vector<std::string> paths) override { drops.push_back(paths); }
};

QStringList ToList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << QString::fromLatin1(text.data(), text.size());
  return list;
}

}  // namespace

class WindowServicesTest : public QObject {
  Q_OBJECT

 private slots:
  void menuTexts_data();
  void menuTexts();
  void menuResource();
  void acceleratorResource();
  void strings();
  void uriLists_data();
  void uriLists();
  void longDroppedPathIsKeptWhole();
  void filesDroppedOnAWindow();
  void messageBoxCapture();
  void realMessageBox();
  void pumpRunsWaitingEvents();
  void centring_data();
  void centring();
  void desktopCapture();
};

void WindowServicesTest::menuTexts_data() {
  QTest::addColumn<QString>("resource");
  QTest::addColumn<QString>("qt");
  QTest::newRow("marked letter") << QString::fromUtf8("ﾌｧｲﾙ(\036F\037ﾌ)")
                                 << QString::fromUtf8("ﾌｧｲﾙ(&Fﾌ)");
  QTest::newRow("key name after tab") << QString::fromUtf8("開く(\036O\037ﾋ)...\tCtrl+O")
                                      << QString::fromUtf8("開く(&Oﾋ)...\tCtrl+O");
  QTest::newRow("no mnemonic") << QString::fromUtf8("目次\tF1") << QString::fromUtf8("目次\tF1");
  QTest::newRow("ampersand doubled") << "Save & Quit"
                                     << "Save && Quit";
  QTest::newRow("unfinished mark: the letter stays") << QString("A\036B") << QString("AB");
}

void WindowServicesTest::menuTexts() {
  QFETCH(QString, resource);
  QFETCH(QString, qt);
  QCOMPARE(QString::fromStdString(MenuTextFromResource(resource.toStdString())), qt);
}

void WindowServicesTest::menuResource() {
  const std::vector<MenuItem>& menu = LoadMenuTemplate(2);
  QCOMPARE(menu.size(), size_t(4));
  QCOMPARE(menu[0].kind, MenuItem::kPopup);
  QCOMPARE(QString::fromStdString(menu[0].text), QString::fromUtf8("ﾌｧｲﾙ(&Fﾌ)"));
  QCOMPARE(menu[0].items.size(), size_t(8));
  QCOMPARE(menu[0].items[5].id, 57616);
  QVERIFY(menu[0].items[5].grayed);
  QCOMPARE(menu[0].items[4].kind, MenuItem::kSeparator);
  QCOMPARE(menu[2].kind, MenuItem::kCommand);
  QCOMPARE(menu[2].id, 32768);
  QCOMPARE(QString::fromStdString(menu[2].text), QString::fromUtf8("ｵﾌﾟｼｮﾝ指定"));
  QCOMPARE(QString::fromStdString(menu[3].items[2].text), QString::fromUtf8("ﾊﾞｰｼﾞｮﾝ情報(&Aﾊ)..."));
  QVERIFY(LoadMenuTemplate(77).empty());
}

void WindowServicesTest::acceleratorResource() {
  const std::vector<Accelerator>& table = LoadAcceleratorTable(2);
  QCOMPARE(table.size(), size_t(13));
  QCOMPARE(table[0].key, QKeySequence(Qt::CTRL | Qt::Key_N));
  QCOMPARE(table[4].key, QKeySequence(Qt::ALT | Qt::Key_Backspace));
  QCOMPARE(table[4].id, 57643);
  QCOMPARE(table[9].key, QKeySequence(Qt::CTRL | Qt::Key_Insert));
  QCOMPARE(table[9].id, 57634);
  for (const Accelerator& entry : table) {
    QVERIFY2(entry.key != QKeySequence(Qt::CTRL | Qt::Key_C), "Ctrl+C is no accelerator");
  }
}

void WindowServicesTest::strings() {
  QCOMPARE(QString::fromStdString(AppTitle()), QString("Vintrel for Windows"));
  QCOMPARE(QString::fromStdString(LoadString(2)),
           QString::fromUtf8("Vintrel for Windows\nVintre\nVINTRE ﾄﾞｷｭﾒﾝﾄ"));
  QCOMPARE(LoadString(3), std::string());
  QVERIFY(!LoadIcon(2).isNull());
  QVERIFY(LoadIcon(3).isNull());
}

void WindowServicesTest::uriLists_data() {
  QTest::addColumn<QByteArray>("uriList");
  QTest::addColumn<QStringList>("paths");
  QTest::newRow("two files, CR LF") << QByteArray("file:///tmp/a.txt\r\nfile:///tmp/b.txt\r\n")
                                    << QStringList{"/tmp/a.txt", "/tmp/b.txt"};
  QTest::newRow("percent escapes to bytes")
      << QByteArray("file:///tmp/my%20file%E8%A1%A8.txt\n")
      << QStringList{QString::fromLatin1("/tmp/my file\xe8\xa1\xa8.txt")};
  QTest::newRow("bytes that are not UTF-8") << QByteArray("file:///tmp/%95%5C.TXT")
                                            << QStringList{QString::fromLatin1("/tmp/\x95\\.TXT")};
  QTest::newRow("comments and blank lines")
      << QByteArray("# from a file manager\n\nfile:///x\n") << QStringList{"/x"};
  QTest::newRow("localhost") << QByteArray("file://localhost/srv/t.txt")
                             << QStringList{"/srv/t.txt"};
  QTest::newRow("another machine") << QByteArray("file://elsewhere/srv/t.txt") << QStringList{};
  QTest::newRow("not a file") << QByteArray("https://example.org/a.txt\nsmb://h/s")
                              << QStringList{};
  QTest::newRow("single slash form") << QByteArray("file:/home/u/x") << QStringList{"/home/u/x"};
  QTest::newRow("scheme in capitals") << QByteArray("FILE:///A") << QStringList{"/A"};
  QTest::newRow("broken escape kept") << QByteArray("file:///a%zz%4") << QStringList{"/a%zz%4"};
  QTest::newRow("empty") << QByteArray() << QStringList{};
}

void WindowServicesTest::uriLists() {
  QFETCH(QByteArray, uriList);
  QFETCH(QStringList, paths);
  QCOMPARE(ToList(LocalPathsFromUriList(std::string_view(uriList.constData(), uriList.size()))),
           paths);
}

void WindowServicesTest::longDroppedPathIsKeptWhole() {
  std::string folder;
  for (int i = 0; i < 40; ++i) folder += "/" + std::string(200, static_cast<char>('a' + i % 26));
  std::string list = "file://" + folder + "/end.txt\r\n";
  std::vector<std::string> paths = LocalPathsFromUriList(list);
  QCOMPARE(paths.size(), size_t(1));
  QCOMPARE(paths[0], folder + "/end.txt");
  QVERIFY(paths[0].size() > 8000);
}

void WindowServicesTest::filesDroppedOnAWindow() {
  DropDialog dialog;
  QVERIFY(dialog.Create());
  dialog.DragAcceptFiles(true);
  QWidget* window = dialog.widget();
  QVERIFY(window->acceptDrops());
  QVERIFY(!qobject_cast<QLineEdit*>(dialog.GetDlgItem(114))->acceptDrops());

  QMimeData mime;
  mime.setData("text/uri-list", "file:///tmp/one.txt\r\nfile:///tmp/two%20b.txt\r\n");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
  QVERIFY(drop.isAccepted());
  // The handler runs once the drop has finished.
  QVERIFY(dialog.drops.empty());
  QTRY_COMPARE(dialog.drops.size(), size_t(1));
  QCOMPARE(ToList(dialog.drops[0]), (QStringList{"/tmp/one.txt", "/tmp/two b.txt"}));

  // Text that names no local file is refused.
  QMimeData text;
  text.setText("just words");
  QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  refused.ignore();
  QApplication::sendEvent(window, &refused);
  QVERIFY(!refused.isAccepted());
}

void WindowServicesTest::messageBoxCapture() {
  ScopedMessageBoxCapture outer;
  {
    ScopedMessageBoxCapture capture;
    Beep();
    QCOMPARE(MessageBox(nullptr, "処理するファイルがなかった(;_;)..."), int(IDOK));
    MessageBox(nullptr, "second");
    QCOMPARE(capture.events().size(), size_t(3));
    QVERIFY(capture.events()[0].beep);
    QCOMPARE(capture.beeps(), 1);
    QCOMPARE(capture.texts(),
             (std::vector<std::string>{"処理するファイルがなかった(;_;)...", "second"}));
  }
  // The inner capture has ended: the outer one records again.
  MessageBox(nullptr, "outer");
  QCOMPARE(outer.texts(), std::vector<std::string>{"outer"});
}

void WindowServicesTest::realMessageBox() {
  QMessageBox* seen = nullptr;
  QString title;
  QString text;
  int buttons = 0;
  QTimer::singleShot(0, [&] {
    seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (seen == nullptr) return;
    title = seen->windowTitle();
    text = seen->text();
    buttons = static_cast<int>(seen->buttons().size());
    QCOMPARE(seen->icon(), QMessageBox::NoIcon);
    QTest::keyClick(seen, Qt::Key_Return);
  });
  QCOMPARE(MessageBox(nullptr, "作業終了しました。"), int(IDOK));
  QVERIFY(seen != nullptr);
  QCOMPARE(title, QString("Vintrel for Windows"));
  QCOMPARE(text, QString::fromUtf8("作業終了しました。"));
  QCOMPARE(buttons, 1);
}

void WindowServicesTest::pumpRunsWaitingEvents() {
  int ran = 0;
  QTimer::singleShot(0, [&] { ++ran; });
  // Within a few milliseconds at most, a call lets the waiting event run.
  QElapsedTimer clock;
  clock.start();
  while (ran == 0 && clock.elapsed() < 2000) PumpMessage();
  QCOMPARE(ran, 1);
  // Calls in quick succession do not process events each time; they stay cheap.
  for (int i = 0; i < 100000; ++i) PumpMessage();
}

void WindowServicesTest::centring_data() {
  QTest::addColumn<QSize>("size");
  QScreen* screen = QGuiApplication::primaryScreen();
  QSize area = screen->geometry().size();
  QTest::newRow("about box") << QSize(434, 276);
  QTest::newRow("odd sizes") << QSize(201, 101);
  QTest::newRow("wider than the screen") << QSize(area.width() + 201, 50);
}

void WindowServicesTest::centring() {
  QFETCH(QSize, size);
  QWidget window;
  window.setFixedSize(size);
  CenterOnScreen(&window);
  QRect area = QGuiApplication::primaryScreen()->geometry();
  // Halves truncated toward zero, also when negative.
  QCOMPARE(window.pos(), QPoint(area.x() + (area.width() - size.width()) / 2,
                                area.y() + (area.height() - size.height()) / 2));
  if (size.width() > area.width()) QCOMPARE(window.pos().x(), area.x() - 100);
}

void WindowServicesTest::desktopCapture() {
  ScopedDesktopCapture capture;
  QVERIFY(OpenWithDesktop("/usr/share/vintrel/vintrel.html"));
  QCOMPARE(capture.opened(), std::vector<std::string>{"/usr/share/vintrel/vintrel.html"});
  QCOMPARE(PromptSaveFileName(nullptr, ""), std::string());
  capture.set_save_file_name("/tmp/doc.vin");
  QCOMPARE(PromptSaveFileName(nullptr, ""), std::string("/tmp/doc.vin"));
  QCOMPARE(capture.save_prompts(), 2);
}

}  // namespace vintrel::ui

QTEST_MAIN(vintrel::ui::WindowServicesTest)
#include "window_services_test.moc"
