#ifndef VINTREL_PLATFORM_UI_APPLICATION_H_
#define VINTREL_PLATFORM_UI_APPLICATION_H_

#include <QColor>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/message_map.h"

namespace vintrel::ui {

class Document;
class FormView;
class FrameWindow;

// Binds a document class, a frame class and a form class to a resource number (title
// string, menu, accelerators, icon, form template).
struct DocTemplate {
  int resource_id = 0;
  std::function<std::unique_ptr<Document>()> create_document;
  std::function<std::unique_ptr<FrameWindow>()> create_frame;
  std::function<std::unique_ptr<FormView>()> create_view;
};

// Command ids the application object answers itself.
inline constexpr int kIdFileNew = 57600;
inline constexpr int kIdFileOpen = 57601;
inline constexpr int kIdFileSave = 57603;
inline constexpr int kIdFileSaveAs = 57604;
inline constexpr int kIdFileMruFile1 = 57616;  // recent files: 57616 to 57616 + 15
inline constexpr int kIdAppAbout = 57664;
inline constexpr int kIdAppExit = 57665;
inline constexpr int kIdHelpIndex = 57666;

// The application object: one per process, made after the QApplication and before start-up
// (the constructor registers it; GetApp() returns it). It owns the document and the frame
// (which owns the form). It answers Exit (57665: closes the frame), the recent-file
// commands (57616 onwards: reopens that document) and, through OnHelpIndex, the help page.
//
// Settings: the four profile operations read and write the profile file (ProfilePath()),
// afresh on every call; nothing is cached.
class Application : public CommandTarget {
 public:
  Application();
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Start-up, once, after construction. The default returns true.
  virtual bool InitInstance();

  // Runs the Qt event loop until the frame has closed; returns its exit code.
  int Run();

  // String 57344, the application title ("Vintrel for Windows").
  const std::string& title() const { return title_; }

  int GetProfileInt(std::string_view section, std::string_view entry, int default_value) const;
  std::string GetProfileString(std::string_view section, std::string_view entry,
                               std::string_view default_value = {}) const;
  // False when the profile file could not be written (callers may ignore it).
  bool WriteProfileInt(std::string_view section, std::string_view entry, int value);
  bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

  // Background and text colours of every dialog and form made from now on.
  void SetDialogBkColor(const QColor& background = QColor(192, 192, 192),
                        const QColor& text = QColor(0, 0, 0));

  // Reads the recent-file list (section "Recent File List", entries "File1" to
  // "File<MAX_RECENT>") and keeps it to MAX_RECENT entries from now on.
  void LoadStdProfileSettings(int max_recent = 4);

  // The recent files, most recent first.
  const std::vector<std::string>& recent_files() const { return recent_files_; }
  // Puts PATH first in the recent-file list (removing it elsewhere, dropping the oldest
  // beyond the maximum) and writes the list to the profile.
  void AddToRecentFileList(const std::string& path);
  // Removes entry INDEX of the recent-file list and writes the list.
  void RemoveFromRecentFileList(int index);

  void AddDocTemplate(DocTemplate doc_template);

  // A new document with its frame and form: creates the three from the template,
  // LoadFrame, the form's Create, OnNewDocument, the form's OnInitialUpdate, shows the
  // frame. A second call while a document exists only renews the document.
  void OnFileNew();

  // Reopens the document PATH in the existing frame: OnOpenDocument, sets the path, puts
  // it first in the recent-file list and sends the form OnInitialUpdate again. When the
  // file cannot be read, a message box names it and it leaves the recent-file list.
  bool OpenDocumentFile(const std::string& path);

  FrameWindow* GetMainWnd() const { return frame_.get(); }
  Document* GetDocument() const { return document_.get(); }

  // Help Contents: opens "vintrel.html" with the desktop's browser, looking in
  // <folder of the executable>/../share/vintrel/ and then beside the executable; when it is
  // in neither, a message box names the file.
  void OnHelpIndex();
  // Exit: closes the main frame (which asks its form first).
  void OnAppExit();

  // Routes commands to this object's table, then the recent-file range.
  bool OnCmdMsg(Notify code, int id) override;
  bool HasHandler(Notify code, int id) const override;
  const MessageMap* GetMessageMap() const override;

  // Paths where OnHelpIndex looks for the help page, in order.
  static std::vector<std::string> HelpFileCandidates();

 private:
  void WriteRecentFileList();
  std::string title_;
  int max_recent_ = 0;
  std::vector<std::string> recent_files_;
  std::vector<DocTemplate> templates_;
  std::unique_ptr<Document> document_;
  std::unique_ptr<FrameWindow> frame_;
};

// The application object; null when there is none.
Application* GetApp();

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_APPLICATION_H_
