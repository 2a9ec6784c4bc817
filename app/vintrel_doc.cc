#include "app/vintrel_doc.h"

namespace vintrel {

CVintrelDoc::CVintrelDoc() = default;

CVintrelDoc::~CVintrelDoc() = default;

bool CVintrelDoc::OnNewDocument() { return Document::OnNewDocument(); }

void CVintrelDoc::Serialize(ui::Archive& /*archive*/) {}

}  // namespace vintrel
