#include "settings/extension_rule.h"

#include "platform/core/upper_case.h"

namespace vintrel {

bool IsRefusedExtension(std::string_view ext) { return EqualsIgnoreAsciiCase(ext, "html"); }

}  // namespace vintrel
