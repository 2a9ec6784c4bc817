#ifndef VINTREL_PLATFORM_UI_LIST_ORDER_H_
#define VINTREL_PLATFORM_UI_LIST_ORDER_H_

#include <string>
#include <string_view>
#include <vector>

namespace vintrel::ui {

// The order of sorted list boxes and combo box lists: the user's locale's collation
// without regard to case (QCollator), texts read as UTF-8; texts that compare equal that
// way are ordered by their bytes, so the order never depends on the order of adding.
// Negative, 0 or positive as A sorts before, equal to or after B.
int CompareListText(std::string_view a, std::string_view b);

// A sorted list of byte strings in the list boxes' order, without a window: the work list
// of a conversion run. Duplicates are kept.
class SortedStringList {
 public:
  // Adds TEXT in sorted position (after equal entries). Returns its index.
  int AddString(std::string text);
  int GetCount() const { return static_cast<int>(items_.size()); }
  // Entry INDEX; INDEX must be in range.
  const std::string& GetText(int index) const { return items_[static_cast<size_t>(index)]; }
  void ResetContent() { items_.clear(); }

 private:
  std::vector<std::string> items_;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_LIST_ORDER_H_
