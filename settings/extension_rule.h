#ifndef VINTREL_SETTINGS_EXTENSION_RULE_H_
#define VINTREL_SETTINGS_EXTENSION_RULE_H_

#include <string_view>

namespace vintrel {

// True when EXT is an extension the dialogs refuse: the text taken whole equals "html",
// ASCII letters compared without regard to case. "HTML" and "hTmL" are refused; ".html",
// "htm" and "html " are not. Any other byte is compared as it is.
bool IsRefusedExtension(std::string_view ext);

}  // namespace vintrel

#endif  // VINTREL_SETTINGS_EXTENSION_RULE_H_
