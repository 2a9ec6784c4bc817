#ifndef VINTREL_PLATFORM_UI_FORM_VIEW_H_
#define VINTREL_PLATFORM_UI_FORM_VIEW_H_

#include "platform/ui/window.h"

namespace vintrel::ui {

class Document;
class FrameWindow;

// A form: a window on a child dialog template that fills a frame window. The frame owns
// the form object (FrameWindow::SetActiveView); Create makes the form's widget as the
// frame's central widget. Enter anywhere in the form presses its default push button.
class FormView : public Window {
 public:
  explicit FormView(int template_id);
  ~FormView() override;

  // Makes the form's widget inside FRAME. False when the template is missing.
  bool Create(FrameWindow* frame);

  // The frame holding the form, and the document it shows (null until set).
  FrameWindow* GetParentFrame() const { return frame_; }
  Document* GetDocument() const { return document_; }
  void SetDocument(Document* document) { document_ = document; }

  // Sent once the form exists and its document is ready (and again when a document is
  // reopened). The default shows the members (UpdateData(false)).
  virtual void OnInitialUpdate();

  // Resizes the frame so that it holds the form exactly. SHRINK_ONLY true never makes the
  // frame larger. A frame without a sizing border keeps that size fixed.
  void ResizeParentToFit(bool shrink_only = true);

  // Asked when the frame is about to close; false keeps it open (the form then closes the
  // frame itself later, with FrameWindow::PostClose). Default: true.
  virtual bool CanCloseFrame();

 private:
  FrameWindow* frame_ = nullptr;
  Document* document_ = nullptr;
};

}  // namespace vintrel::ui

#endif  // VINTREL_PLATFORM_UI_FORM_VIEW_H_
