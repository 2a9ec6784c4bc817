// The conversion run of the main form: the start button and dropped files.

#include "app/vintrel_view.h"

namespace vintrel {

void CVintrelView::OnStart() {}

void CVintrelView::OnDropFiles(std::vector<std::string> /*paths*/) {}

}  // namespace vintrel
