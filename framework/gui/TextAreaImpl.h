#pragma once
// The text area's widget: a QPlainTextEdit beside the exact text it shows. Only framework/gui
// includes this.

#include <QPlainTextEdit>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "framework/gui/ControlImpl.h"

class QMimeData;

namespace fw::detail {

std::u32string CodePointsOf(std::string_view utf8);
std::string Utf8Of(std::u32string_view text);

class TextAreaWidget : public ControlWidget<QPlainTextEdit> {
 public:
  explicit TextAreaWidget(Control::Impl* control);

  const std::u32string& Exact() const { return exact_; }
  std::size_t SelFrom() const { return std::min(anchor_, caret_); }
  std::size_t SelTo() const { return std::max(anchor_, caret_); }
  void SetText(std::u32string text);
  // Replaces [from, to) and puts the caret after the new text.
  void Replace(std::size_t from, std::size_t to, std::u32string_view with, bool keepView);
  void Select(std::size_t anchor, std::size_t caret);

  // The text as the document holds it: each line end one paragraph separator.
  static QString Shown(std::u32string_view text);

 protected:
  bool event(QEvent* e) override;
  QPoint ToControl(const QPointF& p) const override;
  QMimeData* createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  struct Programmatic {
    explicit Programmatic(TextAreaWidget* w) : w_(w), was_(w->programmatic_) { w_->programmatic_ = true; }
    ~Programmatic() { w_->programmatic_ = was_; }
    TextAreaWidget* w_;
    bool was_;
  };

  // Whether the area's window is still being built: its text then is the starting text, no undo step.
  bool Starting() const;
  // Makes the document show `next` (the exact text to be) by patching the part that differs. What
  // one call of the program's handlers writes is one undo step, the yields within it included.
  void Patch(std::u32string_view next);
  int UnitsAt(std::size_t i) const;
  int DocPos(std::size_t position) const;
  std::size_t ExactPos(int docPosition) const;
  void ShowSelection(bool keepView = false);
  // Takes in what the user changed in the document.
  void FromDocument();
  void SelectionFromDocument();
  void TextChanged();
  // Notes the exact text as the state at the document's present place in its undo history.
  void RememberState();

  std::u32string exact_;
  // The exact text (UTF-8, to keep it small) at places of the undo history, by the undo steps
  // before it, so that undo and redo give back the CR LF that the document does not keep.
  std::map<int, std::string> states_{{0, std::string()}};
  int undoSteps_ = 0;
  // The handler call whose writes make the latest undo step, and the document's undo steps after
  // its last write; a later write of that call joins the step while nothing came in between.
  std::uint64_t stepCall_ = 0;
  int stepEnd_ = -1;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
  bool programmatic_ = false;
};

// The text area's widget; fails when the area's window is gone.
TextAreaWidget& AreaOf(const Control::Impl& c);

}  // namespace fw::detail
