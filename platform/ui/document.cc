#include "platform/ui/document.h"

#include "platform/core/file_error.h"
#include "platform/core/text_file.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop.h"
#include "platform/ui/frame_window.h"
#include "platform/ui/message_box.h"

namespace vintrel::ui {
namespace {

QWidget* MainWindowWidget() {
  Application* app = GetApp();
  return app != nullptr && app->GetMainWnd() != nullptr ? app->GetMainWnd()->widget() : nullptr;
}

void ReportFileError(const std::string& path, int error_number) {
  MessageBox(MainWindowWidget(), path + ": " + ErrorText(error_number));
}

}  // namespace

Document::Document() = default;

Document::~Document() = default;

bool Document::OnNewDocument() {
  path_.clear();
  return true;
}

void Document::Serialize(Archive& /*archive*/) {}

bool Document::OnSaveDocument(const std::string& path) {
  TextFile file;
  if (int error = file.Open(path, TextFile::kWrite); error != 0) {
    ReportFileError(path, error);
    return false;
  }
  try {
    Archive archive(true);
    Serialize(archive);
    file.Close();
  } catch (const FileError& error) {
    file.Abandon();
    ReportFileError(path, error.error_number());
    return false;
  }
  return true;
}

bool Document::OnOpenDocument(const std::string& path) {
  TextFile file;
  if (int error = file.Open(path, TextFile::kRead); error != 0) {
    ReportFileError(path, error);
    return false;
  }
  Archive archive(false);
  Serialize(archive);
  file.Abandon();
  return true;
}

void Document::SetPathName(const std::string& path, bool add_to_recent) {
  path_ = path;
  if (add_to_recent) {
    if (Application* app = GetApp()) app->AddToRecentFileList(path);
  }
}

bool Document::DoSave(const std::string& path) {
  std::string target = path;
  if (target.empty()) {
    target = PromptSaveFileName(MainWindowWidget(), path_);
    if (target.empty()) return false;
  }
  if (!OnSaveDocument(target)) return false;
  SetPathName(target);
  return true;
}

void Document::OnFileSave() { DoSave(path_); }

void Document::OnFileSaveAs() { DoSave(std::string()); }

const MessageMap* Document::GetMessageMap() const {
  static const MessageMapOf<Document> map(
      CommandTarget::GetMessageMap(),
      {
          {Notify::kCommand, kIdFileSave, &Document::OnFileSave},
          {Notify::kCommand, kIdFileSaveAs, &Document::OnFileSaveAs},
      });
  return &map;
}

}  // namespace vintrel::ui
