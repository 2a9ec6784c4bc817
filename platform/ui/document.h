#ifndef VINTREL_PLATFORM_UI_DOCUMENT_H_
#define VINTREL_PLATFORM_UI_DOCUMENT_H_

#include <string>

#include "platform/ui/message_map.h"

namespace vintrel::ui {

// The stream a document is stored to or loaded from. It offers no data operations: this
// program's document holds nothing, so a stored document file is empty.
class Archive {
 public:
  explicit Archive(bool storing) : storing_(storing) {}
  bool IsStoring() const { return storing_; }
  bool IsLoading() const { return !storing_; }

 private:
  bool storing_;
};

// The document of the single-document application: a path name and the file commands.
// Save (57603) stores it at its path (asking for one when it has none), Save As (57604)
// asks for a path with the save-file prompt (desktop.h) and stores it there; a stored
// document is added to the application's recent-file list. A file that cannot be written
// is reported in a message box naming the file and the system's reason.
class Document : public CommandTarget {
 public:
  Document();
  ~Document() override;

  // A new, empty document: forgets the path. Returns true.
  virtual bool OnNewDocument();
  // Stores or loads the document's data. The default does nothing.
  virtual void Serialize(Archive& archive);

  // Writes the document (Serialize) to PATH. False (after a message box) on failure.
  virtual bool OnSaveDocument(const std::string& path);
  // Reads the document (Serialize) from PATH. False (after a message box) on failure.
  virtual bool OnOpenDocument(const std::string& path);

  const std::string& GetPathName() const { return path_; }
  // Sets the path; ADD_TO_RECENT also puts it first in the recent-file list.
  void SetPathName(const std::string& path, bool add_to_recent = true);

  void OnFileSave();
  void OnFileSaveAs();

  const MessageMap* GetMessageMap() const override;

 private:
  bool DoSave(const std::string& path);
  std::string path_;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_DOCUMENT_H_
