#include "platform/ui/application.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStyleFactory>

#include <algorithm>

#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/ui/control_text.h"
#include "platform/ui/desktop.h"
#include "platform/ui/document.h"
#include "platform/ui/form_view.h"
#include "platform/ui/frame_window.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources.h"
#include "platform/ui/window.h"

namespace vintrel::ui {
namespace {

Application* the_app = nullptr;

constexpr char kRecentFileSection[] = "Recent File List";
constexpr char kHelpFileName[] = "vintrel.html";

std::string RecentFileEntry(int index) { return "File" + std::to_string(index + 1); }

}  // namespace

Application* GetApp() { return the_app; }

Application::Application() : title_(AppTitle()) {
  the_app = this;
  // One look on every desktop; the window's own colours come from SetDialogBkColor.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
      QApplication::setStyle(style);
    }
  }
}

Application::~Application() {
  frame_.reset();
  document_.reset();
  if (the_app == this) the_app = nullptr;
}

bool Application::InitInstance() { return true; }

int Application::Run() { return QApplication::exec(); }

int Application::GetProfileInt(std::string_view section, std::string_view entry,
                               int default_value) const {
  return Profile(ProfilePath()).GetProfileInt(section, entry, default_value);
}

std::string Application::GetProfileString(std::string_view section, std::string_view entry,
                                          std::string_view default_value) const {
  return Profile(ProfilePath()).GetProfileString(section, entry, default_value);
}

bool Application::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
  return Profile(ProfilePath()).WriteProfileInt(section, entry, value);
}

bool Application::WriteProfileString(std::string_view section, std::string_view entry,
                                     std::string_view value) {
  return Profile(ProfilePath()).WriteProfileString(section, entry, value);
}

void Application::SetDialogBkColor(const QColor& background, const QColor& text) {
  SetDialogColors(background, text);
}

void Application::LoadStdProfileSettings(int max_recent) {
  max_recent_ = std::max(0, max_recent);
  recent_files_.clear();
  for (int i = 0; i < max_recent_; ++i) {
    std::string path = GetProfileString(kRecentFileSection, RecentFileEntry(i), "");
    if (!path.empty()) recent_files_.push_back(path);
  }
}

void Application::AddToRecentFileList(const std::string& path) {
  if (max_recent_ == 0 || path.empty()) return;
  recent_files_.erase(std::remove(recent_files_.begin(), recent_files_.end(), path),
                      recent_files_.end());
  recent_files_.insert(recent_files_.begin(), path);
  if (static_cast<int>(recent_files_.size()) > max_recent_) recent_files_.resize(max_recent_);
  WriteRecentFileList();
}

void Application::RemoveFromRecentFileList(int index) {
  if (index < 0 || index >= static_cast<int>(recent_files_.size())) return;
  recent_files_.erase(recent_files_.begin() + index);
  WriteRecentFileList();
}

void Application::WriteRecentFileList() {
  for (int i = 0; i < max_recent_; ++i) {
    std::string entry = RecentFileEntry(i);
    bool present = i < static_cast<int>(recent_files_.size());
    // An emptied entry is left out when the list is read.
    if (present || !GetProfileString(kRecentFileSection, entry, "").empty()) {
      WriteProfileString(kRecentFileSection, entry,
                         present ? recent_files_[static_cast<size_t>(i)] : std::string());
    }
  }
}

void Application::AddDocTemplate(DocTemplate doc_template) {
  templates_.push_back(std::move(doc_template));
}

void Application::OnFileNew() {
  if (templates_.empty()) return;
  if (document_ != nullptr && frame_ != nullptr) {
    if (!document_->OnNewDocument()) return;
    if (FormView* view = frame_->GetActiveView()) view->OnInitialUpdate();
    return;
  }
  const DocTemplate& doc_template = templates_.front();
  document_ = doc_template.create_document();
  frame_ = doc_template.create_frame();
  if (document_ == nullptr || frame_ == nullptr) return;
  if (!frame_->LoadFrame(doc_template.resource_id)) return;
  std::unique_ptr<FormView> view = doc_template.create_view();
  if (view == nullptr) return;
  FormView* form = view.get();
  form->SetDocument(document_.get());
  if (!form->Create(frame_.get())) return;
  frame_->SetActiveView(std::move(view));
  if (!document_->OnNewDocument()) return;
  form->OnInitialUpdate();
  frame_->ShowWindow();
}

bool Application::OpenDocumentFile(const std::string& path) {
  if (document_ == nullptr) return false;
  if (!document_->OnOpenDocument(path)) {
    auto it = std::find(recent_files_.begin(), recent_files_.end(), path);
    if (it != recent_files_.end())
      RemoveFromRecentFileList(static_cast<int>(it - recent_files_.begin()));
    return false;
  }
  document_->SetPathName(path);
  if (frame_ != nullptr) {
    if (FormView* view = frame_->GetActiveView()) view->OnInitialUpdate();
  }
  return true;
}

std::vector<std::string> Application::HelpFileCandidates() {
  QString folder = QCoreApplication::applicationDirPath();
  return {
      QDir::cleanPath(folder + QStringLiteral("/../share/vintrel/") + kHelpFileName).toStdString(),
      QDir::cleanPath(folder + QLatin1Char('/') + kHelpFileName).toStdString(),
  };
}

void Application::OnHelpIndex() {
  QWidget* owner = frame_ != nullptr ? frame_->widget() : nullptr;
  std::vector<std::string> candidates = HelpFileCandidates();
  for (const std::string& path : candidates) {
    if (QFileInfo(internal::ToQString(path)).isFile()) {
      if (!OpenWithDesktop(path)) MessageBox(owner, "ヘルプファイルを開けません: " + path);
      return;
    }
  }
  MessageBox(owner, "ヘルプファイルが見つかりません: " + candidates.front());
}

void Application::OnAppExit() {
  if (frame_ != nullptr && frame_->widget() != nullptr) frame_->widget()->close();
}

bool Application::OnCmdMsg(Notify code, int id) {
  if (CommandTarget::OnCmdMsg(code, id)) return true;
  int index = id - kIdFileMruFile1;
  if (code == Notify::kCommand && index >= 0 && index < static_cast<int>(recent_files_.size())) {
    std::string path = recent_files_[static_cast<size_t>(index)];
    OpenDocumentFile(path);
    return true;
  }
  return false;
}

bool Application::HasHandler(Notify code, int id) const {
  if (CommandTarget::HasHandler(code, id)) return true;
  int index = id - kIdFileMruFile1;
  return code == Notify::kCommand && index >= 0 && index < static_cast<int>(recent_files_.size());
}

const MessageMap* Application::GetMessageMap() const {
  static const MessageMapOf<Application> map(
      CommandTarget::GetMessageMap(), {
                                          {Notify::kCommand, kIdAppExit, &Application::OnAppExit},
                                      });
  return &map;
}

}  // namespace vintrel::ui
