#include "platform/ui/resources.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>

// The compiled-in resource file lives in a static library: name it once so the linker
// keeps it.
static void InitVintrelResources() { Q_INIT_RESOURCE(vintrel_resources); }

namespace vintrel::ui {
namespace {

struct ResourceData {
  std::map<int, DialogTemplate> dialogs;
  std::map<int, std::vector<MenuItem>> menus;
  std::map<int, std::vector<Accelerator>> accelerators;
  std::map<int, std::string> strings;
  std::map<int, QString> icons;
};

QJsonObject ReadJson(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}

std::string Utf8(const QJsonValue& value) { return value.toString().toStdString(); }

ControlKind KindFromName(const QString& name) {
  static const std::map<QString, ControlKind> kinds = {
      {"pushbutton", ControlKind::kPushButton},
      {"defpushbutton", ControlKind::kDefPushButton},
      {"checkbox", ControlKind::kCheckBox},
      {"groupbox", ControlKind::kGroupBox},
      {"edit", ControlKind::kEdit},
      {"listbox", ControlKind::kListBox},
      {"combobox", ControlKind::kComboBox},
      {"static", ControlKind::kStatic},
      {"icon", ControlKind::kIcon},
  };
  auto it = kinds.find(name);
  return it == kinds.end() ? ControlKind::kStatic : it->second;
}

unsigned StyleFromNames(const QJsonArray& names) {
  static const std::map<QString, unsigned> bits = {
      {"tabstop", kStyleTabStop},
      {"sort", kStyleSort},
      {"notify", kStyleNotify},
      {"vscroll", kStyleVScroll},
      {"border", kStyleBorder},
      {"autohscroll", kStyleAutoHScroll},
      {"nointegralheight", kStyleNoIntegralHeight},
      {"center", kStyleCenter},
      {"disabled", kStyleDisabled},
  };
  unsigned style = 0;
  for (const QJsonValue& name : names) {
    auto it = bits.find(name.toString());
    if (it != bits.end()) style |= it->second;
  }
  return style;
}

DialogTemplate DialogFromJson(int id, const QJsonObject& object) {
  DialogTemplate dialog;
  dialog.id = id;
  dialog.caption = Utf8(object["caption"]);
  dialog.child = object["child"].toBool();
  dialog.x = object["x"].toInt();
  dialog.y = object["y"].toInt();
  dialog.cx = object["cx"].toInt();
  dialog.cy = object["cy"].toInt();
  QJsonArray font = object["font"].toArray();
  dialog.font_name = Utf8(font.at(0));
  dialog.font_points = font.at(1).toInt(10);
  for (const QJsonValue& value : object["controls"].toArray()) {
    QJsonObject c = value.toObject();
    ControlTemplate control;
    control.id = c["id"].toInt(-1);
    control.kind = KindFromName(c["kind"].toString());
    control.text = Utf8(c["text"]);
    control.x = c["x"].toInt();
    control.y = c["y"].toInt();
    control.cx = c["cx"].toInt();
    control.cy = c["cy"].toInt();
    control.style = StyleFromNames(c["style"].toArray());
    control.icon = c["icon"].toInt();
    dialog.controls.push_back(std::move(control));
  }
  return dialog;
}

MenuItem MenuItemFromJson(const QJsonObject& object) {
  MenuItem item;
  if (object.contains("popup")) {
    item.kind = MenuItem::kPopup;
    item.text = MenuTextFromResource(Utf8(object["popup"]));
    for (const QJsonValue& child : object["items"].toArray()) {
      item.items.push_back(MenuItemFromJson(child.toObject()));
    }
  } else if (object["separator"].toBool()) {
    item.kind = MenuItem::kSeparator;
  } else {
    item.kind = MenuItem::kCommand;
    item.id = object["id"].toInt();
    item.text = MenuTextFromResource(Utf8(object["text"]));
    item.grayed = object["grayed"].toBool();
  }
  return item;
}

ResourceData LoadAll() {
  InitVintrelResources();
  ResourceData data;
  QJsonObject dialogs = ReadJson(":/vintrel/dialogs.json")["dialogs"].toObject();
  for (auto it = dialogs.begin(); it != dialogs.end(); ++it) {
    int id = it.key().toInt();
    data.dialogs[id] = DialogFromJson(id, it.value().toObject());
  }
  QJsonObject rest = ReadJson(":/vintrel/resources.json");
  QJsonObject menus = rest["menus"].toObject();
  for (auto it = menus.begin(); it != menus.end(); ++it) {
    std::vector<MenuItem>& items = data.menus[it.key().toInt()];
    for (const QJsonValue& value : it.value().toArray()) {
      items.push_back(MenuItemFromJson(value.toObject()));
    }
  }
  QJsonObject accelerators = rest["accelerators"].toObject();
  for (auto it = accelerators.begin(); it != accelerators.end(); ++it) {
    std::vector<Accelerator>& table = data.accelerators[it.key().toInt()];
    for (const QJsonValue& value : it.value().toArray()) {
      QJsonObject entry = value.toObject();
      table.push_back(
          {QKeySequence(entry["key"].toString(), QKeySequence::PortableText), entry["id"].toInt()});
    }
  }
  QJsonObject strings = rest["strings"].toObject();
  for (auto it = strings.begin(); it != strings.end(); ++it) {
    data.strings[it.key().toInt()] = Utf8(it.value());
  }
  QJsonObject icons = rest["icons"].toObject();
  for (auto it = icons.begin(); it != icons.end(); ++it) {
    data.icons[it.key().toInt()] = it.value().toString();
  }
  return data;
}

const ResourceData& Data() {
  static const ResourceData data = LoadAll();
  return data;
}

}  // namespace

const ControlTemplate* DialogTemplate::FindControl(int control_id) const {
  for (const ControlTemplate& control : controls) {
    if (control.id == control_id) return &control;
  }
  return nullptr;
}

const DialogTemplate* LoadDialogTemplate(int id) {
  const auto& dialogs = Data().dialogs;
  auto it = dialogs.find(id);
  return it == dialogs.end() ? nullptr : &it->second;
}

const std::vector<MenuItem>& LoadMenuTemplate(int id) {
  static const std::vector<MenuItem> none;
  const auto& menus = Data().menus;
  auto it = menus.find(id);
  return it == menus.end() ? none : it->second;
}

std::string MenuTextFromResource(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '&') {
      result += "&&";
    } else if (c == '\036') {
      // "\036X\037": X is the mnemonic letter.
      if (i + 2 < text.size() && text[i + 2] == '\037') {
        result += '&';
        result += text[i + 1];
        i += 2;
      }
    } else if (c != '\037') {
      result += c;
    }
  }
  return result;
}

const std::vector<Accelerator>& LoadAcceleratorTable(int id) {
  static const std::vector<Accelerator> none;
  const auto& tables = Data().accelerators;
  auto it = tables.find(id);
  return it == tables.end() ? none : it->second;
}

std::string LoadString(int id) {
  const auto& strings = Data().strings;
  auto it = strings.find(id);
  return it == strings.end() ? std::string() : it->second;
}

QIcon LoadIcon(int id) {
  const auto& icons = Data().icons;
  auto it = icons.find(id);
  return it == icons.end() ? QIcon() : QIcon(it->second);
}

std::string AppTitle() { return LoadString(kAppTitleStringId); }

}  // namespace vintrel::ui
