#include "platform/ui/list_order.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace vintrel::ui {
namespace {

const QCollator& ListCollator() {
  static const QCollator collator = [] {
    QCollator made{QLocale()};
    made.setCaseSensitivity(Qt::CaseInsensitive);
    return made;
  }();
  return collator;
}

}  // namespace

int CompareListText(std::string_view a, std::string_view b) {
  int order = ListCollator().compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                                     QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
  if (order == 0) order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int SortedStringList::AddString(std::string text) {
  auto at = std::upper_bound(
      items_.begin(), items_.end(), text,
      [](const std::string& a, const std::string& b) { return CompareListText(a, b) < 0; });
  int index = static_cast<int>(at - items_.begin());
  items_.insert(at, std::move(text));
  return index;
}

}  // namespace vintrel::ui
