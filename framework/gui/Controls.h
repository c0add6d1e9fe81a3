#pragma once
// The controls that windows hold, each shown as an ordinary Qt widget. Positions and sizes are
// in device-independent points. Program code reaches Qt only through these classes.
//
// Events are bound by number (RuntimeAddEventHandler): the numbers are below, per class.
// Results: KeyDown True swallows the key; MouseDown True consumes the press.
// Key text: the typed character; control keys as their control characters (backspace 8, tab 9,
// return 13, escape 27, delete 127); a key without a character as the empty text.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/gui/Object.h"

namespace fw {

// A control's Index when it belongs to no control array.
inline constexpr std::int64_t kNoControlArray = -2147483648LL;

// Event numbers: a class's events are numbered by their place in its event list, inherited ones
// first. Reach them through the class's own name: fw::PushButtonEvent::Action.
namespace ControlEvent {
inline constexpr int Close = 0, ContextualMenuAction = 1, Open = 2;
}
namespace RectControlEvent {
using namespace ControlEvent;
inline constexpr int ConstructContextualMenu = 3, DragEnter = 4, DragExit = 5, DragOver = 6,
                     DropObject = 7, KeyUp = 8, KeyDown = 9, MouseWheel = 10, MouseEnter = 11,
                     MouseExit = 12, MouseMove = 13, MouseDrag = 14;
}
namespace TextFieldEvent {
using namespace RectControlEvent;
inline constexpr int SelChange = 15, GotFocus = 16, LostFocus = 17, MouseDown = 18, MouseUp = 19,
                     ValidationError = 20, TextChange = 21;
}
namespace TextAreaEvent = TextFieldEvent;
namespace PushButtonEvent {
using namespace RectControlEvent;
inline constexpr int Action = 15, GotFocus = 16, LostFocus = 17, MouseDown = 18, MouseUp = 19;
}
namespace CanvasEvent {
using namespace RectControlEvent;
inline constexpr int Paint = 15, GotFocus = 16, LostFocus = 17, MouseDown = 18, MouseUp = 19,
                     DoubleClick = 20;
}
namespace LabelEvent {
using namespace RectControlEvent;
inline constexpr int MouseDown = 15, MouseUp = 16;
}
namespace LineEvent = RectControlEvent;
namespace ProgressWheelEvent = RectControlEvent;
// A timer is no control: Action is its only event.
namespace TimerEvent {
inline constexpr int Action = 0;
}

class Window;
class Graphics;
class StyledTextPrinter;

// A picture loaded from a file.
class Picture : public Object {
 public:
  static constexpr std::string_view kClassName = "Picture";
  std::string_view ClassName() const override { return kClassName; }
  std::int64_t Width() const;
  std::int64_t Height() const;

  struct Impl;
  explicit Picture(std::unique_ptr<Impl> impl);
  ~Picture() override;
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// The picture file of that bare name in the first of the platform's data folders that holds it:
// beside the executable, then ../share/tessivar relative to it (tests add the build tree's
// resource folder). Nil when no folder holds it or it is no picture.
Ref<Picture> RuntimeGetPictureFromResourceManager(std::string_view fileName);

class Control : public Object {
 public:
  static constexpr std::string_view kClassName = "Control";
  ~Control() override;
  // The window that the control was made in (Window::New).
  Window* OwnerWindow() const noexcept { return owner_; }
  const std::string& Name() const;

  const PropertySchema& Schema() const override;
  void SetProperty(std::string_view name, const PropertyValue& value) override;
  PropertyValue Property(std::string_view name) const override;

  struct Impl;
  Impl& impl() const { return *impl_; }

 protected:
  explicit Control(Window* owner);
  std::unique_ptr<Impl> impl_;

 private:
  Window* owner_;
};

class RectControl : public Control {
 public:
  static constexpr std::string_view kClassName = "RectControl";
  // Creates the control's widget in its window.
  void Constructor();
  bool Visible() const;
  void Visible(bool visible);
  bool Enabled() const;
  void Enabled(bool enabled);
  void SetFocus();
  // The size in points.
  std::int64_t Width() const;
  std::int64_t Height() const;

 protected:
  using Control::Control;
};

class TextEdit : public RectControl {
 public:
  static constexpr std::string_view kClassName = "TextEdit";

 protected:
  using RectControl::RectControl;
};

// A multi-line text area. Text is kept exactly as set or inserted (CR LF included), and every
// character, CR and LF too, counts one position.
class TextArea : public TextEdit {
 public:
  static constexpr std::string_view kClassName = "TextArea";
  explicit TextArea(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
  std::string Text() const;
  void Text(std::string_view text);
  std::int64_t SelectionStart() const;
  // Puts the caret at the character position, with nothing selected.
  void SelectionStart(std::int64_t position);
  std::string SelectedText() const;
  // Replaces the selection (inserts at the caret when nothing is selected); the caret ends after it.
  void SelectedText(std::string_view text);
  // A printer for the area's styled text, laid out `width` page units wide in the area's font.
  Ref<StyledTextPrinter> styledTextPrinter(const Ref<Graphics>& page, std::int64_t width);
};

// A single-line field with an optional validation mask ('#' = one digit) and length limit.
class TextField : public TextEdit {
 public:
  static constexpr std::string_view kClassName = "TextField";
  explicit TextField(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
  std::string Text() const;
  void Text(std::string_view text);
};

class Label : public RectControl {
 public:
  static constexpr std::string_view kClassName = "Label";
  explicit Label(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
  std::string Text() const;
  void Text(std::string_view text);
};

class PushButton : public RectControl {
 public:
  static constexpr std::string_view kClassName = "PushButton";
  explicit PushButton(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
  // Clicks the button as a user would (press, release, Action).
  void Push();
  // Whether the button takes clicks while a calculation runs, when all other input is dropped:
  // for the button that quits.
  bool UsableWhileBusy() const;
  void UsableWhileBusy(bool usable);
};

class Canvas : public RectControl {
 public:
  static constexpr std::string_view kClassName = "Canvas";
  explicit Canvas(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
  Ref<Picture> Backdrop() const;
  void Backdrop(const Ref<Picture>& picture);
};

class Line : public RectControl {
 public:
  static constexpr std::string_view kClassName = "Line";
  explicit Line(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
};

// A busy wheel that turns while it is visible.
class ProgressWheel : public RectControl {
 public:
  static constexpr std::string_view kClassName = "ProgressWheel";
  explicit ProgressWheel(Window* owner);
  std::string_view ClassName() const override { return kClassName; }
};

// A timer: Period in milliseconds; RunMode 0 off, 1 fires once, 2 repeats. Counts from its
// construction.
class Timer : public Object {
 public:
  static constexpr std::string_view kClassName = "Timer";
  explicit Timer(Window* owner);
  ~Timer() override;
  std::string_view ClassName() const override { return kClassName; }
  void Constructor();
  std::int64_t Period() const;
  std::int64_t RunMode() const;
  Window* OwnerWindow() const noexcept { return owner_; }

  const PropertySchema& Schema() const override;
  void SetProperty(std::string_view name, const PropertyValue& value) override;
  PropertyValue Property(std::string_view name) const override;

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  Window* owner_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace fw
