#ifndef VINTREL_PLATFORM_UI_MESSAGE_MAP_H_
#define VINTREL_PLATFORM_UI_MESSAGE_MAP_H_

#include <initializer_list>
#include <vector>

namespace vintrel::ui {

// What a control or a menu reports to the window that holds it.
enum class Notify {
  kClicked,        // a push button or check box was clicked (a check box has toggled)
  kDoubleClicked,  // a list box entry was double-clicked
  kSelChange,      // the user changed the selection of a list box or a combo box list
  kCloseUp,        // a combo box's drop-down list has closed
  kEditChange,     // the user changed a combo box's text (after it is shown)
  kEditUpdate,     // the user changed a combo box's text (before it is shown)
  kChange,         // an edit box's text changed (by the user or by the program)
  kCommand,        // a menu item or an accelerator sent its command id
};

class CommandTarget;

// A message table: which member handler answers which notification of which control id
// (or which command id). Tables are static data, one per class, chained to the table of
// the base class. Look-ups go from the most derived table to the base tables; the first
// matching entry wins.
class MessageMap {
 public:
  explicit MessageMap(const MessageMap* base) : base_(base) {}
  virtual ~MessageMap() = default;
  MessageMap(const MessageMap&) = delete;
  MessageMap& operator=(const MessageMap&) = delete;

  const MessageMap* base() const { return base_; }

  // Calls the handler of CODE from control or command ID on TARGET, searching this table
  // and then the base tables. TARGET must be an object of the class the table belongs to.
  // True when a handler was called.
  bool Dispatch(CommandTarget* target, Notify code, int id) const;

  // True when this table or a base table has an entry for CODE and ID.
  bool Handles(Notify code, int id) const;

 protected:
  // This table alone: calls the handler and returns true, or returns false.
  virtual bool DispatchHere(CommandTarget* target, Notify code, int id) const = 0;
  virtual bool HandlesHere(Notify code, int id) const = 0;

 private:
  const MessageMap* base_;
};

// The message table of class T: entries bind a notification of a control id (or a command
// id, with Notify::kCommand) to a member function of T without arguments or result.
//
//   const ui::MessageMap* CVintrelView::GetMessageMap() const {
//     static const ui::MessageMapOf<CVintrelView> map(FormView::GetMessageMap(), {
//         {ui::Notify::kDoubleClicked, 103, &CVintrelView::OnDblclkFolderList},
//         {ui::Notify::kCommand, 32768, &CVintrelView::OnOptions},
//     });
//     return &map;
//   }
template <class T>
class MessageMapOf : public MessageMap {
 public:
  struct Entry {
    Notify code;
    int id;
    void (T::*handler)();
  };

  MessageMapOf(const MessageMap* base, std::initializer_list<Entry> entries)
      : MessageMap(base), entries_(entries) {}

 protected:
  bool DispatchHere(CommandTarget* target, Notify code, int id) const override {
    for (const Entry& entry : entries_) {
      if (entry.code == code && entry.id == id) {
        (static_cast<T*>(target)->*entry.handler)();
        return true;
      }
    }
    return false;
  }
  bool HandlesHere(Notify code, int id) const override {
    for (const Entry& entry : entries_) {
      if (entry.code == code && entry.id == id) return true;
    }
    return false;
  }

 private:
  std::vector<Entry> entries_;
};

// Anything that answers notifications and commands through a message table: windows,
// documents and the application object.
class CommandTarget {
 public:
  virtual ~CommandTarget() = default;

  // The class's message table; the base has none (null). A class with a table overrides
  // this and chains its table to the base class's GetMessageMap().
  virtual const MessageMap* GetMessageMap() const { return nullptr; }

  // Runs the handler of CODE from ID. True when there was one.
  virtual bool OnCmdMsg(Notify code, int id);

  // True when a handler for CODE from ID exists (menu items without one are disabled).
  virtual bool HasHandler(Notify code, int id) const;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_MESSAGE_MAP_H_
