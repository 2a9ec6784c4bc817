// vintrel: the window program.

#include <QApplication>

#include "app/vintrel_app.h"
#include "platform/ui/resources.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName(QStringLiteral("vintrel"));
  QApplication::setWindowIcon(vintrel::ui::LoadIcon(2));
  // The command line is not examined: a file name given there opens nothing.
  vintrel::CVintrelApp app;
  app.InitInstance();
  return app.Run();
}
