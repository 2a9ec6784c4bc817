// The conversion run of the main form: the start button converts the files of the current
// folder that match the filter, a drop converts the dropped files. Each input yields a new
// output file named by MakeOutputName; the two status lines follow the file at hand.
//
// The run stays on the user-interface thread. ConvertFile's line hook lets the window
// handle what is waiting, so the form repaints and its lists stay usable; the busy flag and
// the disabled start button keep a second run out. A close request during a run (the frame
// asks CanCloseFrame, which sets m_bClosing) stops it after the current line; the run then
// tidies up and closes the frame itself.

#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/vintrel_view.h"
#include "engine/convert_file.h"
#include "platform/core/app_paths.h"
#include "platform/core/dir_list.h"
#include "platform/core/file_error.h"
#include "platform/core/profile.h"
#include "platform/core/text_file.h"
#include "platform/core/upper_case.h"
#include "platform/ui/frame_window.h"
#include "platform/ui/list_order.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_pump.h"
#include "settings/settings_store.h"
#include "settings/word_list.h"

namespace vintrel {
namespace {

// Thrown by the line hook when the frame has been asked to close: it leaves ConvertFile at
// once, like a file error does.
struct RunStopped {};

// How a file step ends.
enum class StepResult {
  kNext,     // converted, or the input could not be opened: go on with the next file
  kStop,     // the output could not be opened: no further file, normal end
  kAborted,  // a read or write error or a close request: the early end
};

// The folder whose entries ListDirectory(PATTERN) lists: the pattern up to its last '/',
// or the pattern itself when it names an existing folder without wildcards. A folder
// typed without its trailing '/' ("/data/work" with "*.txt") thus lists "/data/", and the
// files found there are opened there.
std::string ListingFolder(const std::string& pattern) {
  size_t slash = pattern.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);
  std::string name_part = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  struct stat st;
  if (!name_part.empty() && !HasWildcards(name_part) && stat(pattern.c_str(), &st) == 0 &&
      S_ISDIR(st.st_mode)) {
    folder = pattern + "/";
  }
  return folder;
}

// The bare name of a dropped path: what follows its last '/' (a '/' byte never occurs
// inside a multibyte character), or the whole path when it has none.
std::string DroppedFileName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// One run of the form: the state the two handlers share.
class ConversionRun {
 public:
  explicit ConversionRun(CVintrelView& view) : view_(view) {}

  // Marks the form busy and takes the folder and the filter from the controls.
  void Begin() {
    view_.m_bBusy = 1;
    view_.m_btnStart.EnableWindow(false);
    view_.UpdateData(true);
  }

  // Fills the exception word map from the list file. A missing list leaves it empty. False
  // after a read error, which has been told to the user.
  bool LoadKeepWords() {
    try {
      vintrel::LoadKeepWords(WordListPath(), &view_.m_mapKeepWords);
    } catch (const FileError& error) {
      ui::MessageBox(view_.widget(), error.what());
      return false;
    }
    return true;
  }

  void ReadOptions() { options_ = ReadConvertOptions(Profile(ProfilePath())); }

  bool closing() const { return view_.m_bClosing; }

  // Converts the input INPUT_PATH, whose upper-cased bare name is NAME, into a new output
  // file.
  StepResult FileStep(const std::string& name, const std::string& input_path) {
    std::string output_path = view_.MakeOutputName(name);
    // A modal dialog or message box of the naming may have taken a close request.
    if (closing()) return StepResult::kAborted;
    view_.m_stcStatus.SetWindowText("[ " + name + " ]==>");
    view_.m_stcSubStatus.SetWindowText("[ " + output_path + " ]");

    TextFile input;
    if (input.Open(input_path, TextFile::kRead) != 0) return StepResult::kNext;
    // Exclusive: an output path naming the input itself fails here and never empties it.
    TextFile output;
    if (output.Open(output_path, TextFile::kWrite) != 0) return StepResult::kStop;

    try {
      auto line_hook = [this] {
        ui::PumpMessage();
        if (view_.m_bClosing) throw RunStopped();
      };
      ConvertFile(input, output, options_, view_.m_mapKeepWords, line_hook);
      input.Close();
      output.Close();
      return StepResult::kNext;
    } catch (const FileError& error) {
      DiscardOutput(input, output, output_path);
      ui::MessageBox(view_.widget(), error.what());
    } catch (const RunStopped&) {
      DiscardOutput(input, output, output_path);
    }
    return StepResult::kAborted;
  }

  // The run went through its list, or stopped at an output that could not be opened.
  void NormalEnd() {
    view_.m_stcStatus.SetWindowText("作業終了しました。");
    view_.m_stcSubStatus.SetWindowText("");
    view_.UpdateData(false);
    Idle();
  }

  // Nothing to convert, or a file error or a close request broke the run off: the form
  // goes back to idle; the status lines and the fields stay as they are.
  void EarlyEnd() { Idle(); }

 private:
  // Closes both files without writing out anything more and removes the incomplete output.
  static void DiscardOutput(TextFile& input, TextFile& output, const std::string& output_path) {
    output.Abandon();
    input.Abandon();
    remove(output_path.c_str());
  }

  void Idle() {
    view_.m_bBusy = 0;
    view_.m_btnStart.EnableWindow(true);
    view_.m_mapKeepWords.RemoveAll();
    // A close asked for during the run happens now that the form is idle.
    if (view_.m_bClosing) {
      view_.m_bClosing = false;
      if (ui::FrameWindow* frame = view_.GetParentFrame()) frame->PostClose();
    }
  }

  CVintrelView& view_;
  ConvertOptions options_;
};

}  // namespace

void CVintrelView::OnStart() {
  if (m_bBusy != 0) return;
  ConversionRun run(*this);
  run.Begin();
  if (!run.LoadKeepWords()) {
    run.EarlyEnd();
    return;
  }

  // The work list: the real names of the matching files, in the list boxes' order. Every
  // name was found in one folder, which is where its file is opened.
  ui::SortedStringList work_list;
  const std::string pattern = m_strFolder + m_strFilter;
  const std::string folder = ListingFolder(pattern);
  try {
    for (DirEntry& entry : ListDirectory(pattern)) {
      if (entry.attributes == kAttrHidden || entry.attributes == kAttrSystem ||
          entry.attributes == kAttrFolder) {
        continue;
      }
      work_list.AddString(std::move(entry.name));
    }
  } catch (const std::bad_alloc&) {
    ui::MessageBox(widget(), "失敗しました(/_;)");
    run.EarlyEnd();
    return;
  }
  if (work_list.GetCount() == 0) {
    ui::Beep();
    ui::MessageBox(widget(), "処理するファイルがなかった(;_;)...");
    run.EarlyEnd();
    return;
  }

  run.ReadOptions();
  const int count = work_list.GetCount();
  for (int i = 0; i < count; ++i) {
    if (run.closing()) {
      run.EarlyEnd();
      return;
    }
    const std::string& real_name = work_list.GetText(i);
    StepResult result = run.FileStep(ToUpperAscii(real_name), folder + real_name);
    if (result == StepResult::kAborted) {
      run.EarlyEnd();
      return;
    }
    if (result == StepResult::kStop) break;
  }
  run.NormalEnd();
}

void CVintrelView::OnDropFiles(std::vector<std::string> paths) {
  // A drop during a run is refused: the run in progress goes on undisturbed.
  if (m_bBusy != 0) {
    ui::Beep();
    return;
  }
  ConversionRun run(*this);
  run.Begin();
  if (!run.LoadKeepWords() || paths.empty()) {
    run.EarlyEnd();
    return;
  }

  run.ReadOptions();
  for (const std::string& path : paths) {
    if (run.closing()) {
      run.EarlyEnd();
      return;
    }
    StepResult result = run.FileStep(ToUpperAscii(DroppedFileName(path)), path);
    if (result == StepResult::kAborted) {
      run.EarlyEnd();
      return;
    }
    if (result == StepResult::kStop) break;
  }
  run.NormalEnd();
}

}  // namespace vintrel
