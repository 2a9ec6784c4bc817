// The options command of the main form.

#include "app/vintrel_view.h"

namespace vintrel {

void CVintrelView::OnOptions() {}

}  // namespace vintrel
