#ifndef VINTREL_PLATFORM_UI_DESKTOP_H_
#define VINTREL_PLATFORM_UI_DESKTOP_H_

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace vintrel::ui {

// Dealings with the desktop outside the program's own windows: the browser and the file
// chooser. Tests answer both with ScopedDesktopCapture.

// Opens the local file PATH with the desktop's default program (a web page: the browser).
// False when the desktop could not open it.
bool OpenWithDesktop(const std::string& path);

// Asks for the name of a file to save, starting at INITIAL_PATH, in a modal file dialog
// owned by OWNER's window. The chosen full path, or an empty text when cancelled.
std::string PromptSaveFileName(QWidget* owner, const std::string& initial_path);

// While an object of this class lives, OpenWithDesktop records the path and returns true,
// and PromptSaveFileName records its call and returns the answer set here (an empty text,
// that is cancel, until set). Captures nest; the innermost answers.
class ScopedDesktopCapture {
 public:
  ScopedDesktopCapture();
  ~ScopedDesktopCapture();
  ScopedDesktopCapture(const ScopedDesktopCapture&) = delete;
  ScopedDesktopCapture& operator=(const ScopedDesktopCapture&) = delete;

  void set_save_file_name(std::string path) { save_file_name_ = std::move(path); }

  const std::vector<std::string>& opened() const { return opened_; }
  int save_prompts() const { return save_prompts_; }

  // Called by the two functions above.
  bool RecordOpen(const std::string& path);
  std::string AnswerSavePrompt();

 private:
  std::vector<std::string> opened_;
  std::string save_file_name_;
  int save_prompts_ = 0;
  ScopedDesktopCapture* outer_;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_DESKTOP_H_
