// The text area and the text field.
//
// A text area keeps its text exactly as set or inserted. Qt's document turns every line end (CR
// LF, CR or LF) into one block separator, so the area holds the exact text beside the document,
// as code points, and maps positions between the two: CR LF is two characters here and one
// separator there, and a character beyond the BMP is one character here and two UTF-16 units
// there.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QValidator>

#include <string>

#include "framework/core/Exceptions.h"
#include "framework/gui/ControlImpl.h"
#include "framework/gui/Runtime.h"
#include "framework/gui/TextAreaImpl.h"
#include "framework/gui/WindowImpl.h"

namespace fw {

using detail::ControlKind;
using detail::FromUtf8;
using detail::ToUtf8;

namespace detail {

namespace {

constexpr char16_t kSeparator = 0x2029;  // QChar::ParagraphSeparator

std::u32string ToCodePoints(const QString& text) {
  const QList<uint> codes = text.toUcs4();
  return std::u32string(codes.begin(), codes.end());
}

QString FromCodePoints(std::u32string_view text) {
  return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

std::u32string CodePointsOf(std::string_view utf8) { return ToCodePoints(FromUtf8(utf8)); }
std::string Utf8Of(std::u32string_view text) { return ToUtf8(FromCodePoints(text)); }

QString TextAreaWidget::Shown(std::u32string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char32_t c = text[i];
    if (c == U'\r') {
      if (i + 1 < text.size() && text[i + 1] == U'\n') ++i;
      out.append(QChar(kSeparator));
    } else if (c == U'\n') {
      out.append(QChar(kSeparator));
    } else if (c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC) {
      out.append(QChar(0xFFFD));  // the document's own frame and object markers
    } else {
      const char32_t one[1] = {c};
      out.append(QString::fromUcs4(one, 1));
    }
  }
  return out;
}

int TextAreaWidget::UnitsAt(std::size_t i) const {
  const char32_t c = exact_[i];
  if (c == U'\n' && i > 0 && exact_[i - 1] == U'\r') return 0;
  return c > 0xFFFF ? 2 : 1;
}

int TextAreaWidget::DocPos(std::size_t position) const {
  int units = 0;
  for (std::size_t i = 0; i < position && i < exact_.size(); ++i) units += UnitsAt(i);
  return units;
}

std::size_t TextAreaWidget::ExactPos(int docPosition) const {
  std::size_t i = 0;
  int units = 0;
  while (i < exact_.size() && (units < docPosition || UnitsAt(i) == 0)) {
    units += UnitsAt(i);
    ++i;
  }
  return i;
}

TextAreaWidget::TextAreaWidget(Control::Impl* control) : ControlWidget(control) {
  setUndoRedoEnabled(true);
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    if (!programmatic_) FromDocument();
  });
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
    if (!programmatic_) SelectionFromDocument();
  });
  connect(this, &QPlainTextEdit::selectionChanged, this, [this] {
    if (!programmatic_) SelectionFromDocument();
  });
}

bool TextAreaWidget::Starting() const {
  const Window* window = control() && control()->self ? control()->self->OwnerWindow() : nullptr;
  return !window || !window->impl().constructed;
}

void TextAreaWidget::Patch(std::u32string_view next) {
  const QString have = document()->toRawText();
  const QString want = Shown(next);
  // Only the part that differs is patched, so the rest keeps its layout.
  qsizetype p = 0;
  const qsizetype limit = std::min(have.size(), want.size());
  while (p < limit && have[p] == want[p]) ++p;
  if (p > 0 && want[p - 1].isHighSurrogate()) --p;
  qsizetype s = 0;
  while (s < limit - p && have[have.size() - 1 - s] == want[want.size() - 1 - s]) ++s;
  if (s > 0 && want[want.size() - s].isLowSurrogate()) --s;
  if (p == have.size() - s && p == want.size() - s) return;
  const Runtime& r = R();
  const bool inHandler = r.boundaryDepth > 0;
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(p));
  cursor.setPosition(static_cast<int>(have.size() - s), QTextCursor::KeepAnchor);
  const bool join = inHandler && stepCall_ == r.handlerCalls && stepEnd_ == document()->availableUndoSteps() &&
                    document()->availableRedoSteps() == 0;
  if (join) cursor.joinPreviousEditBlock();
  cursor.insertText(want.mid(p, want.size() - s - p));
  if (join) cursor.endEditBlock();
  stepCall_ = inHandler ? r.handlerCalls : 0;
  stepEnd_ = document()->availableUndoSteps();
}

void TextAreaWidget::SetText(std::u32string text) {
  const bool changed = text != exact_;
  {
    Programmatic guard(this);
    if (Starting()) {
      exact_ = std::move(text);
      QString shown = Shown(exact_);
      shown.replace(QChar(kSeparator), QLatin1Char('\n'));
      setPlainText(shown);  // which starts a new undo history
    } else {
      // Replacing the whole text is an undo step like any other.
      Patch(text);
      exact_ = std::move(text);
    }
    anchor_ = caret_ = 0;
    ShowSelection();
    RememberState();
  }
  if (changed) TextChanged();
  if (control()) control()->Fire("SelChange");
}

void TextAreaWidget::Replace(std::size_t from, std::size_t to, std::u32string_view with, bool keepView) {
  std::u32string next = exact_;
  next.replace(from, to - from, with);
  const bool changed = next != exact_;
  {
    Programmatic guard(this);
    Patch(next);
    exact_ = std::move(next);
    anchor_ = caret_ = from + with.size();
    ShowSelection(keepView);
    RememberState();
  }
  if (changed) TextChanged();
  if (control()) control()->Fire("SelChange");
}

void TextAreaWidget::Select(std::size_t anchor, std::size_t caret) {
  anchor = std::min(anchor, exact_.size());
  caret = std::min(caret, exact_.size());
  {
    Programmatic guard(this);
    anchor_ = anchor;
    caret_ = caret;
    ShowSelection(true);
  }
  if (control()) control()->Fire("SelChange");
}

void TextAreaWidget::ShowSelection(bool keepView) {
  const int h = horizontalScrollBar()->value();
  const int v = verticalScrollBar()->value();
  QTextCursor cursor(document());
  cursor.setPosition(DocPos(anchor_));
  cursor.setPosition(DocPos(caret_), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  if (keepView) {
    // The program moves the caret; the view stays where the user left it.
    horizontalScrollBar()->setValue(h);
    verticalScrollBar()->setValue(v);
  }
}

void TextAreaWidget::RememberState() {
  undoSteps_ = document()->availableUndoSteps();
  // A new edit ends the states that redo would have reached.
  states_.erase(states_.upper_bound(undoSteps_), states_.end());
  states_[undoSteps_] = Utf8Of(exact_);
}

void TextAreaWidget::FromDocument() {
  const QString now = document()->toRawText();
  // Undo and redo move to another place of the history; the state noted there, when the
  // document shows it, is the exact text to give back.
  const int undo = document()->availableUndoSteps();
  if (const auto state = states_.find(undo); undo != undoSteps_ && state != states_.end()) {
    if (std::u32string text = CodePointsOf(state->second); Shown(text) == now) {
      undoSteps_ = undo;
      if (text == exact_) return;
      exact_ = std::move(text);
      SelectionFromDocument();
      TextChanged();
      return;
    }
  }
  const QString was = Shown(exact_);
  if (now == was) return;
  qsizetype p = 0;
  const qsizetype limit = std::min(now.size(), was.size());
  while (p < limit && now[p] == was[p]) ++p;
  if (p > 0 && now[p - 1].isHighSurrogate()) --p;
  qsizetype s = 0;
  while (s < limit - p && now[now.size() - 1 - s] == was[was.size() - 1 - s]) ++s;
  if (s > 0 && now[now.size() - s].isLowSurrogate()) --s;
  const std::size_t from = ExactPos(static_cast<int>(p));
  const std::size_t to = ExactPos(static_cast<int>(was.size() - s));
  // What the user typed: a new line is a LF.
  QString typed = now.mid(p, now.size() - s - p);
  typed.replace(QChar(kSeparator), QLatin1Char('\n'));
  exact_.replace(from, to - from, ToCodePoints(typed));
  RememberState();
  SelectionFromDocument();
  TextChanged();
}

void TextAreaWidget::SelectionFromDocument() {
  if (document()->toRawText().size() != Shown(exact_).size()) FromDocument();
  const QTextCursor cursor = textCursor();
  // A position that maps to the same place keeps its exact value (it may lie inside CR LF).
  const std::size_t oldAnchor = anchor_, oldCaret = caret_;
  if (DocPos(anchor_) != cursor.anchor()) anchor_ = ExactPos(cursor.anchor());
  if (DocPos(caret_) != cursor.position()) caret_ = ExactPos(cursor.position());
  if ((anchor_ != oldAnchor || caret_ != oldCaret) && control()) control()->Fire("SelChange");
}

void TextAreaWidget::TextChanged() {
  if (!control()) return;
  PropertyValue v;
  v.type = PropertyType::Text;
  v.text = Utf8Of(exact_);
  control()->props.Set(*FindDecl(control()->Schema(), "Value"), v);
  control()->Fire("TextChange");
}

QPoint TextAreaWidget::ToControl(const QPointF& p) const { return p.toPoint() + viewport()->pos(); }

bool TextAreaWidget::event(QEvent* e) {
  const bool handled = ControlWidget::event(e);
  if (e->type() == QEvent::Paint && frameShape() != QFrame::NoFrame) {
    // The style strokes a line one point wide along the edge; where the edge falls between
    // device pixels (a fractional scale factor) the clip, the viewport or the scroll bar hides
    // that stroke. Filling the frame's band instead paints every device pixel whose centre lies
    // in it, by the same rule that the viewport fills its own, so each side always shows.
    QPainter painter(this);
    const QRectF r = frameRect();
    const qreal band = frameWidth();
    const QColor colour = palette().color(QPalette::Mid);
    painter.fillRect(QRectF(r.left(), r.top(), r.width(), band), colour);
    painter.fillRect(QRectF(r.left(), r.bottom() - band, r.width(), band), colour);
    painter.fillRect(QRectF(r.left(), r.top(), band, r.height()), colour);
    painter.fillRect(QRectF(r.right() - band, r.top(), band, r.height()), colour);
  }
  return handled;
}

QMimeData* TextAreaWidget::createMimeDataFromSelection() const {
  auto* data = new QMimeData;
  const std::size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
  data->setText(FromCodePoints(std::u32string_view(exact_).substr(from, to - from)));
  return data;
}

void TextAreaWidget::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source || !source->hasText()) return;
  const std::size_t from = std::min(anchor_, caret_), to = std::max(anchor_, caret_);
  Replace(from, to, ToCodePoints(source->text()), false);
  ensureCursorVisible();
}

// ---- the text field's mask -------------------------------------------------------------------

namespace {

// '#' takes one digit; any other mask character stands for itself. The mask's length and
// MaximumCharactersAllowed limit the text; what does not fit is refused whole.
class MaskValidator : public QValidator {
 public:
  std::u32string mask;
  std::int64_t maxChars = 0;

  State validate(QString& input, int&) const override {
    const std::u32string text = ToCodePoints(input);
    if (maxChars > 0 && static_cast<std::int64_t>(text.size()) > maxChars) return Invalid;
    if (mask.empty()) return Acceptable;
    if (text.size() > mask.size()) return Invalid;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (mask[i] == U'#' ? !(text[i] >= U'0' && text[i] <= U'9') : text[i] != mask[i]) return Invalid;
    }
    return Acceptable;
  }
};

class TextFieldWidget : public ControlWidget<QLineEdit> {
 public:
  explicit TextFieldWidget(Control::Impl* c) : ControlWidget(c) { setValidator(&validator); }
  MaskValidator validator;

 protected:
  // Qt's line edit accepts any drop of text and then lets the mask refuse it, and the source of
  // a moving drag would delete what it sent; a drop that the mask refuses is refused whole.
  bool Takes(const QDropEvent& e) {
    if (e.source() == this) return true;  // moving text within the field
    if (isReadOnly() || !e.mimeData() || !e.mimeData()->hasText()) return false;
    QString after = text();
    after.insert(cursorPositionAt(e.position().toPoint()), e.mimeData()->text());
    int position = 0;
    return validator.validate(after, position) != QValidator::Invalid;
  }
  void dragEnterEvent(QDragEnterEvent* e) override { Takes(*e) ? QLineEdit::dragEnterEvent(e) : e->ignore(); }
  void dragMoveEvent(QDragMoveEvent* e) override { Takes(*e) ? QLineEdit::dragMoveEvent(e) : e->ignore(); }
  void dropEvent(QDropEvent* e) override { Takes(*e) ? QLineEdit::dropEvent(e) : e->ignore(); }
};

}  // namespace
}  // namespace detail

// ---- TextArea ----------------------------------------------------------------------------

namespace {

// Qt paints a selection without the focus in the palette's inactive colours: with HideSelection
// those are the area's own.
void ApplySelectionLook(const Control::Impl& c, QWidget* area) {
  QPalette p = area->palette();
  const QPalette& desktop = QApplication::palette(area);
  const bool hide = c.Bool("HideSelection");
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             hide ? p.color(QPalette::Inactive, QPalette::Base) : desktop.color(QPalette::Inactive, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             hide ? p.color(QPalette::Inactive, QPalette::Text)
                  : desktop.color(QPalette::Inactive, QPalette::HighlightedText));
  area->setPalette(p);
}

}  // namespace

detail::TextAreaWidget& detail::AreaOf(const Control::Impl& c) {
  auto* area = dynamic_cast<TextAreaWidget*>(c.widget.data());
  if (!area) throw NilObjectException("the text area's window is gone");
  return *area;
}

TextArea::TextArea(Window* owner) : TextEdit(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::TextArea;
  auto* area = new detail::TextAreaWidget(&c);
  c.widget = area;
  c.FocusedByTabStop();
  c.applyOwn = [&c, area](std::string_view n, const PropertyValue& v) {
    if (n == "Value") {
      if (v.text != detail::Utf8Of(area->Exact())) area->SetText(detail::CodePointsOf(v.text));
    } else if (detail::IsFontProperty(n)) {
      area->setFont(c.Font());
    } else if (n == "TextColor") {
      detail::SetColour(area, QPalette::Text, v.colour);
      ApplySelectionLook(c, area);
    } else if (n == "BackgroundColor") {
      detail::SetColour(area, QPalette::Base, v.colour);
      ApplySelectionLook(c, area);
    } else if (n == "HideSelection") {
      ApplySelectionLook(c, area);
    } else if (n == "HasBorder") {
      area->setFrameShape(v.boolean ? QFrame::StyledPanel : QFrame::NoFrame);
    } else if (n == "ReadOnly") {
      area->setReadOnly(v.boolean);
    } else if (n == "AllowTabs") {
      area->setTabChangesFocus(!v.boolean);
    } else if (n == "HasVerticalScrollbar") {
      area->setVerticalScrollBarPolicy(v.boolean ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    } else if (n == "HasHorizontalScrollbar") {
      // A horizontal scroll bar means long lines are not wrapped.
      area->setLineWrapMode(v.boolean ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
      area->setHorizontalScrollBarPolicy(v.boolean ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    } else if (n == "TextAlignment") {
      QTextOption option = area->document()->defaultTextOption();
      option.setAlignment(detail::HorizontalAlignment(v.integer));
      area->document()->setDefaultTextOption(option);
    }
  };
  PropertyValue multi;
  multi.type = PropertyType::Boolean;
  multi.boolean = true;
  c.props.Set(*detail::FindDecl(c.Schema(), "MultiLine"), multi);
  c.ApplyAll();
}

std::string TextArea::Text() const { return detail::Utf8Of(detail::AreaOf(*impl_).Exact()); }

void TextArea::Text(std::string_view text) { detail::AreaOf(*impl_).SetText(detail::CodePointsOf(text)); }

std::int64_t TextArea::SelectionStart() const { return static_cast<std::int64_t>(detail::AreaOf(*impl_).SelFrom()); }

void TextArea::SelectionStart(std::int64_t position) {
  auto& area = detail::AreaOf(*impl_);
  const std::size_t at = position <= 0 ? 0 : static_cast<std::size_t>(position);
  area.Select(at, at);
}

std::string TextArea::SelectedText() const {
  const auto& area = detail::AreaOf(*impl_);
  return detail::Utf8Of(std::u32string_view(area.Exact()).substr(area.SelFrom(), area.SelTo() - area.SelFrom()));
}

void TextArea::SelectedText(std::string_view text) {
  auto& area = detail::AreaOf(*impl_);
  area.Replace(area.SelFrom(), area.SelTo(), detail::CodePointsOf(text), true);
}

// ---- TextField ---------------------------------------------------------------------------

namespace {

detail::TextFieldWidget& FieldOf(const Control::Impl& c) {
  auto* field = dynamic_cast<detail::TextFieldWidget*>(c.widget.data());
  if (!field) throw NilObjectException("the text field's window is gone");
  return *field;
}

}  // namespace

TextField::TextField(Window* owner) : TextEdit(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::TextField;
  auto* field = new detail::TextFieldWidget(&c);
  c.widget = field;
  QObject::connect(field, &QLineEdit::textChanged, field, [&c](const QString& text) {
    PropertyValue v;
    v.type = PropertyType::Text;
    v.text = ToUtf8(text);
    c.props.Set(*detail::FindDecl(c.Schema(), "Value"), v);
    c.Fire("TextChange");
  });
  QObject::connect(field, &QLineEdit::selectionChanged, field, [&c] { c.Fire("SelChange"); });
  QObject::connect(field, &QLineEdit::cursorPositionChanged, field, [&c] { c.Fire("SelChange"); });
  c.FocusedByTabStop();
  c.applyOwn = [&c, field](std::string_view n, const PropertyValue& v) {
    if (n == "Value") {
      if (FromUtf8(v.text) != field->text()) field->setText(FromUtf8(v.text));
    } else if (detail::IsFontProperty(n)) {
      field->setFont(c.Font());
    } else if (n == "TextColor") {
      detail::SetColour(field, QPalette::Text, v.colour);
    } else if (n == "BackgroundColor") {
      detail::SetColour(field, QPalette::Base, v.colour);
    } else if (n == "HasBorder") {
      field->setFrame(v.boolean);
    } else if (n == "ReadOnly") {
      field->setReadOnly(v.boolean);
    } else if (n == "Password") {
      field->setEchoMode(v.boolean ? QLineEdit::Password : QLineEdit::Normal);
    } else if (n == "Hint") {
      field->setPlaceholderText(FromUtf8(v.text));
    } else if (n == "TextAlignment") {
      field->setAlignment(detail::HorizontalAlignment(v.integer) | Qt::AlignVCenter);
    } else if (n == "ValidationMask") {
      field->validator.mask = detail::CodePointsOf(v.text);
    } else if (n == "MaximumCharactersAllowed") {
      field->validator.maxChars = v.integer;
    }
  };
  c.ApplyAll();
}

std::string TextField::Text() const { return ToUtf8(FieldOf(*impl_).text()); }

void TextField::Text(std::string_view text) { FieldOf(*impl_).setText(FromUtf8(text)); }

}  // namespace fw
