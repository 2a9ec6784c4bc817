#ifndef VINTREL_APP_VINTREL_DOC_H_
#define VINTREL_APP_VINTREL_DOC_H_

#include "platform/ui/document.h"

namespace vintrel {

// The document: it holds no data (everything lives in the main form and the profile), so a
// stored document is an empty file and a reopened one is empty again.
class CVintrelDoc : public ui::Document {
 public:
  CVintrelDoc();
  ~CVintrelDoc() override;

  // True exactly when the base made a new document.
  bool OnNewDocument() override;
  // Stores and loads nothing.
  void Serialize(ui::Archive& archive) override;
};

}  // namespace vintrel

#endif  // VINTREL_APP_VINTREL_DOC_H_
