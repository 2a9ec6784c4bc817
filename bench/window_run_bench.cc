// window_run_bench: times a conversion run started from the main form, headless, for
// bench/run.sh. The form is pointed at FOLDER, which holds the one input file, and the
// start button's handler converts it into OUTPUT_FOLDER; the line hook lets the window
// handle its events as in real use.
//
//   window_run_bench FOLDER OUTPUT_FOLDER RUNS
//
// Settings come from $XDG_CONFIG_HOME as the caller prepared them (OutDir should be
// OUTPUT_FOLDER, Mode 2 so that every run replaces the same output). The output folder is
// emptied before each run, outside the time measured. Prints the fastest run's wall-clock
// seconds on standard output; exits 1 when a run did not end normally.

#include <time.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/vintrel_app.h"
#include "app/vintrel_view.h"
#include "platform/ui/frame_window.h"
#include "platform/ui/message_box.h"

namespace {

double Now() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window_run_bench FOLDER OUTPUT_FOLDER RUNS\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication qt(argc, argv);
  vintrel::CVintrelApp app;
  app.InitInstance();
  auto* view = dynamic_cast<vintrel::CVintrelView*>(app.GetMainWnd()->GetActiveView());
  if (view == nullptr) {
    std::fprintf(stderr, "window_run_bench: the main form was not made\n");
    return 1;
  }
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  const std::filesystem::path output_folder = argv[2];
  const int runs = std::atoi(argv[3]) > 0 ? std::atoi(argv[3]) : 1;

  view->m_strFolder = folder;
  view->m_strFilter = "*.*";
  view->UpdateData(false);

  double best = 0;
  for (int i = 0; i < runs; ++i) {
    for (const auto& entry : std::filesystem::directory_iterator(output_folder)) {
      std::filesystem::remove(entry.path());
    }
    vintrel::ui::ScopedMessageBoxCapture capture;  // any message would mean a failed run
    const double start = Now();
    view->OnStart();
    const double seconds = Now() - start;
    if (!capture.events().empty()) {
      std::fprintf(stderr, "window_run_bench: the run said \"%s\"\n",
                   capture.events().front().text.c_str());
      return 1;
    }
    if (i == 0 || seconds < best) best = seconds;
  }
  std::printf("%.6f\n", best);
  return 0;
}
