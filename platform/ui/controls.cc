#include "platform/ui/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>

#include "platform/core/upper_case.h"
#include "platform/ui/control_text.h"
#include "platform/ui/list_order.h"

namespace vintrel::ui {

namespace internal {
namespace {

constexpr char kBytesProperty[] = "vintrelBytes";
constexpr char kShownProperty[] = "vintrelShown";

QString ShownText(const QWidget* widget) {
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  if (auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->currentText();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
  return widget->windowTitle();
}

}  // namespace

void SetControlText(QWidget* widget, std::string_view text) {
  if (widget == nullptr) return;
  QString shown = ToQString(text);
  widget->setProperty(kBytesProperty, ToBytes(text));
  widget->setProperty(kShownProperty, shown);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != shown) edit->setText(shown);
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    if (combo->currentText() != shown) combo->setEditText(shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(shown);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(shown);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(shown);
  } else {
    widget->setWindowTitle(shown);
  }
}

std::string ControlText(const QWidget* widget) {
  if (widget == nullptr) return {};
  QString shown = ShownText(widget);
  if (auto* combo = qobject_cast<const QComboBox*>(widget)) {
    int index = combo->currentIndex();
    if (index >= 0 && combo->itemText(index) == shown) {
      return FromBytes(combo->itemData(index, kBytesRole).toByteArray());
    }
  }
  QVariant kept = widget->property(kShownProperty);
  if (kept.isValid() && kept.toString() == shown) {
    return FromBytes(widget->property(kBytesProperty).toByteArray());
  }
  return shown.toStdString();
}

}  // namespace internal

using internal::FromBytes;
using internal::kBytesRole;
using internal::ToBytes;
using internal::ToQString;

namespace {

// Entries of a list widget or combo box compare as lists do: texts equal without regard
// to case. Plain ASCII case folding for bytes that are not UTF-8, Unicode case folding
// otherwise.
bool EqualsIgnoringCase(std::string_view a, const std::string& b) {
  if (EqualsIgnoreAsciiCase(a, b)) return true;
  QString qa = ToQString(a);
  QString qb = ToQString(b);
  if (qa.contains(QChar::ReplacementCharacter) || qb.contains(QChar::ReplacementCharacter)) {
    return false;
  }
  return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

// The position at which TEXT goes into a sorted list of COUNT entries read by TEXT_AT:
// after every entry that does not sort after it.
template <class TextAt>
int SortedPosition(int count, std::string_view text, TextAt text_at) {
  int low = 0;
  int high = count;
  while (low < high) {
    int mid = (low + high) / 2;
    if (CompareListText(text, text_at(mid)) < 0) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return low;
}

// The index of the first of COUNT entries read by TEXT_AT after START_AFTER (-1 or out of
// range: from the start), wrapping round, that equals TEXT without regard to case;
// kListError when there is none.
template <class TextAt>
int FindExact(int count, int start_after, std::string_view text, TextAt text_at) {
  if (count == 0) return kListError;
  int start = (start_after < -1 || start_after >= count) ? -1 : start_after;
  for (int step = 1; step <= count; ++step) {
    int index = (start + step) % count;
    if (EqualsIgnoringCase(text, text_at(index))) return index;
  }
  return kListError;
}

bool IsSorted(const QWidget* widget) { return widget->property("vintrelSorted").toBool(); }

QListWidget* AsList(const QPointer<QWidget>& widget) {
  return qobject_cast<QListWidget*>(widget.data());
}
QComboBox* AsCombo(const QPointer<QWidget>& widget) {
  return qobject_cast<QComboBox*>(widget.data());
}

}  // namespace

// --- Control

int Control::GetDlgCtrlID() const {
  if (widget_ == nullptr) return -1;
  QVariant id = widget_->property("ctrlId");
  return id.isValid() ? id.toInt() : -1;
}

void Control::EnableWindow(bool enable) {
  if (widget_ != nullptr) widget_->setEnabled(enable);
}

bool Control::IsWindowEnabled() const { return widget_ != nullptr && widget_->isEnabled(); }

void Control::SetWindowText(std::string_view text) { internal::SetControlText(widget_, text); }

std::string Control::GetWindowText() const { return internal::ControlText(widget_); }

void Control::SetFocus() {
  if (widget_ != nullptr) widget_->setFocus(Qt::OtherFocusReason);
}

// --- Button

int Button::GetCheck() const {
  auto* button = qobject_cast<QAbstractButton*>(widget_.data());
  return button != nullptr && button->isChecked() ? 1 : 0;
}

void Button::SetCheck(int check) {
  auto* button = qobject_cast<QAbstractButton*>(widget_.data());
  if (button != nullptr) button->setChecked(check != 0);
}

// --- ListBox

ListBox::~ListBox() { DestroyWindow(); }

int ListBox::AddString(std::string_view text) {
  QListWidget* list = AsList(widget_);
  if (list == nullptr) return kListError;
  QSignalBlocker blocker(list);
  int row = list->count();
  if (IsSorted(list)) {
    row = SortedPosition(list->count(), text, [list](int i) {
      return FromBytes(list->item(i)->data(kBytesRole).toByteArray());
    });
  }
  auto* item = new QListWidgetItem(ToQString(text));
  item->setData(kBytesRole, ToBytes(text));
  list->insertItem(row, item);
  return row;
}

int ListBox::DeleteString(int index) {
  QListWidget* list = AsList(widget_);
  if (list == nullptr || index < 0 || index >= list->count()) return kListError;
  QSignalBlocker blocker(list);
  int selected = GetCurSel();
  delete list->takeItem(index);
  // Deleting the selected entry leaves none selected (the view would pick a neighbour).
  if (selected == index || selected == kListError) list->clearSelection();
  return list->count();
}

void ListBox::ResetContent() {
  QListWidget* list = AsList(widget_);
  if (list == nullptr) return;
  QSignalBlocker blocker(list);
  list->clear();
}

int ListBox::GetCount() const {
  QListWidget* list = AsList(widget_);
  return list == nullptr ? 0 : list->count();
}

int ListBox::GetCurSel() const {
  QListWidget* list = AsList(widget_);
  if (list == nullptr) return kListError;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? kListError : list->row(selected.first());
}

int ListBox::SetCurSel(int index) {
  QListWidget* list = AsList(widget_);
  if (list == nullptr) return kListError;
  QSignalBlocker blocker(list);
  if (index < 0 || index >= list->count()) {
    list->clearSelection();
    return kListError;
  }
  list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  return index;
}

std::string ListBox::GetText(int index) const {
  QListWidget* list = AsList(widget_);
  if (list == nullptr || index < 0 || index >= list->count()) return {};
  return FromBytes(list->item(index)->data(kBytesRole).toByteArray());
}

int ListBox::FindStringExact(int start_after, std::string_view text) const {
  return FindExact(GetCount(), start_after, text, [this](int i) { return GetText(i); });
}

bool ListBox::Create(QWidget* parent, bool sorted) {
  DestroyWindow();
  auto* list = new QListWidget(parent);
  list->setProperty("vintrelSorted", sorted);
  list->setGeometry(0, 0, 0, 0);
  list->hide();
  widget_ = list;
  owns_widget_ = true;
  return true;
}

void ListBox::DestroyWindow() {
  if (owns_widget_) {
    delete widget_.data();
    widget_ = nullptr;
    owns_widget_ = false;
  }
}

// --- ComboBox

int ComboBox::AddString(std::string_view text) {
  QComboBox* combo = AsCombo(widget_);
  if (combo == nullptr) return kListError;
  QSignalBlocker blocker(combo);
  int row = combo->count();
  if (IsSorted(combo)) {
    row = SortedPosition(combo->count(), text, [combo](int i) {
      return FromBytes(combo->itemData(i, kBytesRole).toByteArray());
    });
  }
  // Adding to the list leaves the text and the selection as they are.
  int selected = combo->currentIndex();
  QString shown = combo->currentText();
  combo->insertItem(row, ToQString(text));
  combo->setItemData(row, ToBytes(text), kBytesRole);
  if (selected < 0) combo->setCurrentIndex(-1);
  if (combo->isEditable() && combo->currentText() != shown) combo->setEditText(shown);
  return row;
}

int ComboBox::DeleteString(int index) {
  QComboBox* combo = AsCombo(widget_);
  if (combo == nullptr || index < 0 || index >= combo->count()) return kListError;
  QSignalBlocker blocker(combo);
  combo->removeItem(index);
  return combo->count();
}

void ComboBox::ResetContent() {
  QComboBox* combo = AsCombo(widget_);
  if (combo == nullptr) return;
  QSignalBlocker blocker(combo);
  combo->clear();
  if (combo->isEditable()) combo->clearEditText();
}

int ComboBox::GetCount() const {
  QComboBox* combo = AsCombo(widget_);
  return combo == nullptr ? 0 : combo->count();
}

int ComboBox::GetCurSel() const {
  QComboBox* combo = AsCombo(widget_);
  return combo == nullptr ? kListError : combo->currentIndex();
}

int ComboBox::SetCurSel(int index) {
  QComboBox* combo = AsCombo(widget_);
  if (combo == nullptr) return kListError;
  QSignalBlocker blocker(combo);
  if (index < 0 || index >= combo->count()) {
    combo->setCurrentIndex(-1);
    return kListError;
  }
  combo->setCurrentIndex(index);
  return index;
}

std::string ComboBox::GetLBText(int index) const {
  QComboBox* combo = AsCombo(widget_);
  if (combo == nullptr || index < 0 || index >= combo->count()) return {};
  return FromBytes(combo->itemData(index, kBytesRole).toByteArray());
}

int ComboBox::FindStringExact(int start_after, std::string_view text) const {
  return FindExact(GetCount(), start_after, text, [this](int i) { return GetLBText(i); });
}

}  // namespace vintrel::ui
