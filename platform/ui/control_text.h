#ifndef VINTREL_PLATFORM_UI_CONTROL_TEXT_H_
#define VINTREL_PLATFORM_UI_CONTROL_TEXT_H_

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

// Inside the window layer: texts of control widgets as bytes.

namespace vintrel::ui::internal {

// Shows TEXT in WIDGET (label, button, group box, edit, combo box edit). The bytes are kept
// with the widget so that ControlText gives them back exactly while the shown text is
// unchanged (bytes that are not valid UTF-8 show as replacement characters).
void SetControlText(QWidget* widget, std::string_view text);

// The text WIDGET shows, as bytes.
std::string ControlText(const QWidget* widget);

// TEXT as a QString (UTF-8; invalid bytes become replacement characters).
inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline QByteArray ToBytes(std::string_view text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromBytes(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Item data role holding a list entry's exact bytes.
inline constexpr int kBytesRole = Qt::UserRole + 1;

}  // namespace vintrel::ui::internal

#endif  // VINTREL_PLATFORM_UI_CONTROL_TEXT_H_
