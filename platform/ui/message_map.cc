#include "platform/ui/message_map.h"

namespace vintrel::ui {

bool MessageMap::Dispatch(CommandTarget* target, Notify code, int id) const {
  for (const MessageMap* map = this; map != nullptr; map = map->base_) {
    if (map->DispatchHere(target, code, id)) return true;
  }
  return false;
}

bool MessageMap::Handles(Notify code, int id) const {
  for (const MessageMap* map = this; map != nullptr; map = map->base_) {
    if (map->HandlesHere(code, id)) return true;
  }
  return false;
}

bool CommandTarget::OnCmdMsg(Notify code, int id) {
  const MessageMap* map = GetMessageMap();
  return map != nullptr && map->Dispatch(this, code, id);
}

bool CommandTarget::HasHandler(Notify code, int id) const {
  const MessageMap* map = GetMessageMap();
  return map != nullptr && map->Handles(code, id);
}

}  // namespace vintrel::ui
