#include "platform/ui/desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QUrl>

namespace vintrel::ui {
namespace {

ScopedDesktopCapture* current_capture = nullptr;

}  // namespace

bool OpenWithDesktop(const std::string& path) {
  if (current_capture != nullptr) return current_capture->RecordOpen(path);
  return QDesktopServices::openUrl(
      QUrl::fromLocalFile(QFile::decodeName(QByteArray(path.data(), path.size()))));
}

std::string PromptSaveFileName(QWidget* owner, const std::string& initial_path) {
  if (current_capture != nullptr) return current_capture->AnswerSavePrompt();
  QString chosen = QFileDialog::getSaveFileName(
      owner != nullptr ? owner->window() : nullptr, QStringLiteral("名前を付けて保存"),
      QFile::decodeName(QByteArray(initial_path.data(), initial_path.size())));
  QByteArray bytes = QFile::encodeName(chosen);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

ScopedDesktopCapture::ScopedDesktopCapture() : outer_(current_capture) { current_capture = this; }

ScopedDesktopCapture::~ScopedDesktopCapture() { current_capture = outer_; }

bool ScopedDesktopCapture::RecordOpen(const std::string& path) {
  opened_.push_back(path);
  return true;
}

std::string ScopedDesktopCapture::AnswerSavePrompt() {
  ++save_prompts_;
  return save_file_name_;
}

}  // namespace vintrel::ui
