// Output naming of the main form: the naming rules of output_name.h with the settings of
// the profile and the confirmation dialog as the question to the user.

#include "app/vintrel_view.h"
#include "output/output_name.h"
#include "output/verify_dialog.h"
#include "platform/core/app_paths.h"
#include "platform/core/profile.h"
#include "platform/ui/message_box.h"
#include "settings/settings_store.h"

namespace vintrel {

std::string CVintrelView::MakeOutputName(const std::string& name) {
  // Read afresh on every call: a policy stored by the dialog applies from the next file.
  OutputNameSettings settings;
  {
    const Profile profile(ProfilePath());
    settings.ext = ReadOutputExt(profile);
    settings.out_dir = ReadOutDir(profile);
    settings.mode = ReadCollisionMode(profile);
  }

  auto ask = [](const std::string& name_in_use) {
    CVerifyDialog dialog;  // no parent: the main frame owns it
    dialog.m_strFileName = name_in_use;
    dialog.DoModal();
    return AskAnswer{dialog.m_nChoice, dialog.m_strExt};
  };

  OutputNameResult result = MakeOutputPath(name, m_strFolder, settings, ask);
  if (result.all_numbers_taken()) {
    ui::Beep();
    ui::MessageBox(widget(), "出力先ファイルの作成に失敗しました。");
    return std::string();
  }
  return result.path;
}

}  // namespace vintrel
