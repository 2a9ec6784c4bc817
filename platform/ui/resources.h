#ifndef VINTREL_PLATFORM_UI_RESOURCES_H_
#define VINTREL_PLATFORM_UI_RESOURCES_H_

#include <QIcon>
#include <QKeySequence>

#include <string>
#include <string_view>
#include <vector>

namespace vintrel::ui {

// The program's resources (dialog templates, menus, accelerator tables, strings, icons) are
// data compiled into the program from resources/. Each is addressed by its resource number.
// Loaded data is parsed once and kept for the life of the process; every loader is cheap to
// call again. A resource that does not exist loads as an empty value (see each loader).

// Kinds of controls a dialog template can hold.
enum class ControlKind {
  kPushButton,     // a push button
  kDefPushButton,  // the default push button (Enter presses it)
  kCheckBox,       // an auto check box: a click toggles it, then it notifies
  kGroupBox,       // a frame with a title around other controls
  kEdit,           // a single-line edit box
  kListBox,        // a list box
  kComboBox,       // a drop-down combo box with editable text
  kStatic,         // a text label
  kIcon,           // an icon picture (the icon's resource number is in `icon`)
};

// Style bits of a control in a template.
enum ControlStyle : unsigned {
  kStyleTabStop = 1u << 0,           // the control takes part in the Tab order
  kStyleSort = 1u << 1,              // list box or combo box list keeps itself sorted
  kStyleNotify = 1u << 2,            // list box reports double-clicks and selection changes
  kStyleVScroll = 1u << 3,           // a vertical scroll bar when the content needs one
  kStyleBorder = 1u << 4,            // a border
  kStyleAutoHScroll = 1u << 5,       // the edit scrolls horizontally as text is typed
  kStyleNoIntegralHeight = 1u << 6,  // the list keeps its template height exactly
  kStyleCenter = 1u << 7,            // static text centred (otherwise left-aligned)
  kStyleDisabled = 1u << 8,          // the control starts disabled
};

// One control of a dialog template. Positions and sizes are in dialog units.
struct ControlTemplate {
  int id = -1;  // -1: a control without an id (labels, frames, pictures)
  ControlKind kind = ControlKind::kStatic;
  std::string text;  // UTF-8; "\n" breaks a label's line
  int x = 0, y = 0, cx = 0, cy = 0;
  unsigned style = 0;  // ControlStyle bits
  int icon = 0;        // kIcon only: the icon's resource number
};

// A dialog template: a modal dialog (popup with caption) or a form (child window without
// caption). Controls are in template order, which is also the Tab order of those with
// kStyleTabStop.
struct DialogTemplate {
  int id = 0;
  std::string caption;               // UTF-8; empty for a form
  bool child = false;                // true: a form placed inside a frame, false: a dialog window
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units; cx, cy: the client area
  std::string font_name;             // as the template names it ("System")
  int font_points = 10;
  std::vector<ControlTemplate> controls;

  // The control with ID, or null.
  const ControlTemplate* FindControl(int control_id) const;
};

// The dialog template ID, or null when there is none. The pointer stays valid for the
// life of the process.
const DialogTemplate* LoadDialogTemplate(int id);

// One item of a menu: a popup (with items), a separator or a command. Texts are ready for
// Qt: the marked Latin letter of the resource text is the "&" mnemonic, a literal "&" is
// doubled, and the key name after a tab stays after the tab.
struct MenuItem {
  enum Kind { kPopup, kSeparator, kCommand };
  Kind kind = kCommand;
  int id = 0;  // kCommand only
  std::string text;
  bool grayed = false;          // shown disabled whatever the command handlers say
  std::vector<MenuItem> items;  // kPopup only
};

// The top-level items of menu ID; empty when there is none.
const std::vector<MenuItem>& LoadMenuTemplate(int id);

// Turns a resource menu text into a Qt menu text: every '&' is doubled, and a Latin letter
// enclosed in the control characters 30 and 31 ("\036F\037") becomes "&F".
std::string MenuTextFromResource(std::string_view text);

// One accelerator: a key and the command it sends.
struct Accelerator {
  QKeySequence key;
  int id = 0;
};

// The accelerator table ID in table order; empty when there is none.
const std::vector<Accelerator>& LoadAcceleratorTable(int id);

// String ID of the string table (UTF-8); empty when there is none.
std::string LoadString(int id);

// Icon ID; a null icon when there is none.
QIcon LoadIcon(int id);

// String 57344: the application title, caption of every message box.
inline constexpr int kAppTitleStringId = 57344;
std::string AppTitle();

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_RESOURCES_H_
