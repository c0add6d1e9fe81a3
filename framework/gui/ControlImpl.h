#pragma once
// Inside the controls: their state, events and the Qt widgets that show them. Only
// framework/gui includes this.

#include <QEnterEvent>
#include <QFocusEvent>
#include <QFont>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/gui/Controls.h"
#include "framework/gui/Events.h"
#include "framework/gui/Runtime.h"

namespace fw::detail {

enum class ControlKind { TextArea, TextField, Label, PushButton, Canvas, Line, ProgressWheel, Timer };

// One event of a class: its name and what follows the sender in its signature.
struct EventDecl {
  std::string_view name;
  std::string_view rest;  // ", String ) as Boolean"; " )" for the sender alone
};

// The class's events in number order, inherited ones first.
const std::vector<EventDecl>& EventsOf(ControlKind kind);
std::string_view FrameworkClassName(ControlKind kind);
std::string EventSignature(ControlKind kind, int number);
int EventNumber(ControlKind kind, std::string_view name);

const PropertySchema& SchemaOf(ControlKind kind);
const PropertySchema& WindowSchema();
// The declared spelling of a property name (matched without regard to case), or null.
const PropertyDecl* FindDecl(const PropertySchema& schema, std::string_view name);
PropertyValue DefaultValue(const PropertyDecl& decl);

// Property values by declared name; unset ones read as the declared default.
class PropertyStore {
 public:
  void Set(const PropertyDecl& decl, const PropertyValue& value);
  const PropertyValue* Find(std::string_view declaredName) const;
  PropertyValue Get(const PropertySchema& schema, std::string_view name) const;
  bool Bool(const PropertySchema& schema, std::string_view name) const { return Get(schema, name).boolean; }
  std::int64_t Int(const PropertySchema& schema, std::string_view name) const { return Get(schema, name).integer; }
  double Real(const PropertySchema& schema, std::string_view name) const { return Get(schema, name).real; }
  std::string Text(const PropertySchema& schema, std::string_view name) const { return Get(schema, name).text; }
  std::uint32_t Colour(const PropertySchema& schema, std::string_view name) const {
    return Get(schema, name).colour;
  }

 private:
  std::vector<std::pair<std::string_view, PropertyValue>> values_;
};

// Checks the value against the declared type; raises InvalidArgumentException on a mismatch.
const PropertyDecl& CheckedDecl(const PropertySchema& schema, std::string_view className, std::string_view name,
                                const PropertyValue& value);

// The key text that KeyDown delivers for a key press.
std::string KeyText(const QKeyEvent& event);
// Shift, Ctrl, Alt and their kin pressed alone: no key of their own.
bool IsModifierKey(const QKeyEvent& event);

// A font from the controls' font properties. "System" (also "SmallSystem", or no name) is one
// fixed face, Liberation Sans, with Arimo and Arial as fallbacks. Size 0 (or out of range) keeps
// the desktop font's size. Unit 1 is pixels, 3 inches, 4 millimetres, and 0, 2 or any other code
// the window's points.
QFont MakeFont(const std::string& name, double size, std::int64_t unit, bool bold, bool italic, bool underline);

QColor ColourOf(std::uint32_t argb);
// Sets a colour of the widget's palette for the active and inactive window alike.
void SetColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t argb);
// TextAlignment: 0 default (left), 1 left, 2 centre, 3 right.
Qt::Alignment HorizontalAlignment(std::int64_t code);
bool IsFontProperty(std::string_view name);

// The events bound on a control or timer, and its kind; null for other objects.
std::map<int, Delegate>* HandlersOf(Object& source, ControlKind* kind);

}  // namespace fw::detail

namespace fw {

struct Control::Impl {
  Control* self = nullptr;
  detail::ControlKind kind = detail::ControlKind::Canvas;
  std::string name;
  detail::PropertyStore props;
  std::map<int, Delegate> handlers;
  QPointer<QWidget> widget;
  bool constructed = false;
  bool usableWhileBusy = false;  // takes clicks during a calculation, when other input is dropped
  // The class's own reaction to a property that it declares; the common ones are handled here.
  std::function<void(std::string_view name, const PropertyValue& value)> applyOwn;
  // Set by the class: how the widget takes keyboard focus given TabStop.
  std::function<void()> applyFocusPolicy;
  // The two usual focus rules: never; or by Tab only while TabStop is on, by a click always.
  void NeverFocused();
  void FocusedByTabStop();

  ~Impl();
  const PropertySchema& Schema() const { return detail::SchemaOf(kind); }
  std::string_view ClassName() const { return detail::FrameworkClassName(kind); }
  PropertyValue Get(std::string_view n) const { return props.Get(Schema(), n); }
  bool Bool(std::string_view n) const { return props.Bool(Schema(), n); }
  std::int64_t Int(std::string_view n) const { return props.Int(Schema(), n); }
  double Real(std::string_view n) const { return props.Real(Schema(), n); }
  std::string Text(std::string_view n) const { return props.Text(Schema(), n); }
  std::uint32_t Colour(std::string_view n) const { return props.Colour(Schema(), n); }

  void Set(std::string_view name, const PropertyValue& value);
  void SetBool(std::string_view name, bool value);
  void SetText(std::string_view name, std::string_view value);
  // Applies every stored property to the widget (after the widget is made or re-parented).
  void ApplyAll();
  void ApplyCommon(std::string_view name);
  void ApplyGeometry();
  QFont Font() const;

  // Runs the bound handler at our event boundary; its result, false when there is none.
  bool Fire(std::string_view eventName, const EventArgs& args = {});
};

namespace detail {

// What ties a widget to its control; cut before the widget goes, so that no event reaches a
// control that is being destroyed.
class WidgetLink {
 public:
  virtual ~WidgetLink() = default;
  Control::Impl* control() const { return control_; }
  void detach() { control_ = nullptr; }

 protected:
  explicit WidgetLink(Control::Impl* control) : control_(control) {}
  Control::Impl* control_;
};

// The events every control widget reports, whatever Qt class it is built on.
template <class Base>
class ControlWidget : public Base, public WidgetLink {
 public:
  template <class... Args>
  explicit ControlWidget(Control::Impl* control, Args&&... args)
      : Base(std::forward<Args>(args)...), WidgetLink(control) {}

 protected:
  // Where a mouse event's position lies in the control.
  virtual QPoint ToControl(const QPointF& p) const { return p.toPoint(); }

  bool event(QEvent* e) override {
    if (control_ && e->type() == QEvent::KeyPress && !IsModifierKey(*static_cast<QKeyEvent*>(e))) {
      // Before Qt's own handling, so that Tab and Return reach KeyDown too.
      if (control_->Fire("KeyDown", {KeyText(*static_cast<QKeyEvent*>(e)), 0, 0})) {
        e->accept();
        return true;
      }
    } else if (control_ && e->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(e)->isAutoRepeat() &&
               !IsModifierKey(*static_cast<QKeyEvent*>(e))) {
      control_->Fire("KeyUp", {KeyText(*static_cast<QKeyEvent*>(e)), 0, 0});
    }
    return Base::event(e);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (control_ && e->button() == Qt::LeftButton) {
      const QPoint p = ToControl(e->position());
      pressed_ = true;
      if (control_->Fire("MouseDown", {{}, p.x(), p.y()})) {
        e->accept();
        return;
      }
    }
    Base::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Base::mouseReleaseEvent(e);
    if (control_ && pressed_ && e->button() == Qt::LeftButton) {
      pressed_ = false;
      const QPoint p = ToControl(e->position());
      control_->Fire("MouseUp", {{}, p.x(), p.y()});
    }
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    Base::mouseMoveEvent(e);
    if (control_) {
      const QPoint p = ToControl(e->position());
      control_->Fire((e->buttons() & Qt::LeftButton) ? "MouseDrag" : "MouseMove", {{}, p.x(), p.y()});
    }
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    Base::mouseDoubleClickEvent(e);
    if (control_) {
      const QPoint p = ToControl(e->position());
      control_->Fire("DoubleClick", {{}, p.x(), p.y()});
    }
  }
  void enterEvent(QEnterEvent* e) override {
    Base::enterEvent(e);
    if (control_) control_->Fire("MouseEnter");
  }
  void leaveEvent(QEvent* e) override {
    Base::leaveEvent(e);
    if (control_) control_->Fire("MouseExit");
  }
  void focusInEvent(QFocusEvent* e) override {
    Base::focusInEvent(e);
    // A menu opening takes the focus only for a moment; the control keeps it for the program.
    if (control_ && e->reason() != Qt::PopupFocusReason) control_->Fire("GotFocus");
  }
  void focusOutEvent(QFocusEvent* e) override {
    Base::focusOutEvent(e);
    if (control_ && e->reason() != Qt::PopupFocusReason) control_->Fire("LostFocus");
  }

 private:
  bool pressed_ = false;
};

}  // namespace detail
}  // namespace fw
