// Output naming of the main form.

#include "app/vintrel_view.h"

namespace vintrel {

std::string CVintrelView::MakeOutputName(const std::string& /*name*/) { return std::string(); }

}  // namespace vintrel
