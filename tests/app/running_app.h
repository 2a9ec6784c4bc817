#ifndef VINTREL_TESTS_APP_RUNNING_APP_H_
#define VINTREL_TESTS_APP_RUNNING_APP_H_

// The real application started for a window test, in a folder of the test's choosing and
// with its settings in a temporary folder of its own.

#include <stdlib.h>
#include <unistd.h>

#include <QMainWindow>
#include <QtGlobal>

#include <memory>
#include <string>

#include "app/vintrel_app.h"
#include "app/vintrel_view.h"
#include "platform/ui/frame_window.h"
#include "tests/support/temp_dir.h"

namespace vintrel::test {

// The application started in FOLDER with a profile holding PROFILE_TEXT, settings in a
// temporary folder. Everything goes with the object, and the current folder goes back to
// what it was.
class RunningApp {
 public:
  explicit RunningApp(const std::string& folder, const std::string& profile_text = "")
      : xdg_("XDG_CONFIG_HOME", config_.path()) {
    if (!profile_text.empty()) config_.WriteFile("vintrel.INI", profile_text);
    char* old = getcwd(nullptr, 0);
    old_folder_ = old;
    free(old);
    if (chdir(folder.c_str()) != 0) qFatal("cannot enter %s", folder.c_str());
    app_ = std::make_unique<CVintrelApp>();
    app_->InitInstance();
  }
  ~RunningApp() {
    app_.reset();
    if (chdir(old_folder_.c_str()) != 0) qWarning("cannot go back to %s", old_folder_.c_str());
  }
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;

  CVintrelApp& app() { return *app_; }
  ui::FrameWindow& frame() { return *app_->GetMainWnd(); }
  QMainWindow* window() { return frame().widget(); }
  CVintrelView& view() { return *static_cast<CVintrelView*>(frame().GetActiveView()); }
  const ScopedTempDir& config() const { return config_; }

 private:
  ScopedTempDir config_;
  ScopedEnv xdg_;
  std::string old_folder_;
  std::unique_ptr<CVintrelApp> app_;
};

}  // namespace vintrel::test

#endif  // VINTREL_TESTS_APP_RUNNING_APP_H_
