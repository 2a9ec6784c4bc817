// The options command of the main form.

#include "app/vintrel_view.h"
#include "settings/option_dialog.h"

namespace vintrel {

// Everything the dialog changes reaches the rest of the program through the profile and
// the word list file, read afresh by each of their users; the form is not refreshed.
void CVintrelView::OnOptions() {
  COptionDialog dialog;
  dialog.DoModal();
}

}  // namespace vintrel
