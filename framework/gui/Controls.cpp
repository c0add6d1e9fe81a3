#include "framework/gui/Controls.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

#include <cmath>
#include <numbers>

#include "framework/core/Exceptions.h"
#include "framework/gui/ControlImpl.h"
#include "framework/gui/Platform.h"
#include "framework/gui/WindowImpl.h"

namespace fw {

using detail::ControlKind;
using detail::ControlWidget;
using detail::FromUtf8;

// ---- Pictures ----------------------------------------------------------------------------

struct Picture::Impl {
  QImage image;  // a QImage, not a QPixmap: it may outlive the application object at exit
};

Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Picture::~Picture() = default;
std::int64_t Picture::Width() const { return impl_->image.width(); }
std::int64_t Picture::Height() const { return impl_->image.height(); }

QString detail::ResourceFilePath(const QString& name) {
  // A bare file name only: nothing outside the data folders is reachable through it.
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
      name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0))) {
    return {};
  }
  for (const std::string& dir : Platform().DataFolders()) {
    const QFileInfo file(QDir(FromUtf8(dir)).filePath(name));
    if (file.isFile()) return file.absoluteFilePath();
  }
  return {};
}

Ref<Picture> RuntimeGetPictureFromResourceManager(std::string_view fileName) {
  const QString path = detail::ResourceFilePath(FromUtf8(fileName));
  if (path.isEmpty()) return {};
  QImage image(path);
  if (image.isNull()) return {};
  auto impl = std::make_unique<Picture::Impl>();
  impl->image = std::move(image);
  return RuntimeNewObject<Picture>(std::move(impl));
}

// ---- Control state -----------------------------------------------------------------------

Control::Impl::~Impl() {
  if (widget) {
    if (auto* link = dynamic_cast<detail::WidgetLink*>(widget.data())) link->detach();
    delete widget.data();
  }
}

void Control::Impl::Set(std::string_view propertyName, const PropertyValue& value) {
  const PropertyDecl& decl = detail::CheckedDecl(Schema(), ClassName(), propertyName, value);
  props.Set(decl, value);
  if (decl.name == "Name") name = value.text;
  if (!widget) return;
  ApplyCommon(decl.name);
  if (applyOwn) applyOwn(decl.name, value);
}

void Control::Impl::SetBool(std::string_view propertyName, bool value) {
  PropertyValue v;
  v.type = PropertyType::Boolean;
  v.boolean = value;
  Set(propertyName, v);
}

void Control::Impl::SetText(std::string_view propertyName, std::string_view value) {
  PropertyValue v;
  v.type = PropertyType::Text;
  v.text = value;
  Set(propertyName, v);
}

void Control::Impl::ApplyAll() {
  for (const PropertyDecl& decl : Schema()) {
    ApplyCommon(decl.name);
    if (applyOwn) applyOwn(decl.name, Get(decl.name));
  }
}

void Control::Impl::ApplyGeometry() {
  if (!widget || kind == ControlKind::Line) return;
  widget->setGeometry(static_cast<int>(Int("Left")), static_cast<int>(Int("Top")),
                      static_cast<int>(std::max<std::int64_t>(0, Int("Width"))),
                      static_cast<int>(std::max<std::int64_t>(0, Int("Height"))));
}

void Control::Impl::ApplyCommon(std::string_view n) {
  if (!widget) return;
  if (n == "Left" || n == "Top" || n == "Width" || n == "Height") {
    ApplyGeometry();
  } else if (n == "Enabled") {
    widget->setEnabled(Bool("Enabled"));
  } else if (n == "Visible") {
    // A control without its window would show as a window of its own.
    if (constructed) widget->setVisible(Bool("Visible"));
    if (self && self->OwnerWindow()) detail::ControlsChanged(self->OwnerWindow());
  } else if (n == "Tooltip") {
    widget->setToolTip(FromUtf8(Text("Tooltip")));
  } else if (n == "TabStop") {
    if (applyFocusPolicy) applyFocusPolicy();
  } else if (n == "TabIndex" || n == "Default" || n == "Cancel") {
    if (self && self->OwnerWindow()) detail::ControlsChanged(self->OwnerWindow());
  }
}

QFont Control::Impl::Font() const {
  const auto* size = props.Find("FontSize");
  const auto* unit = props.Find("FontUnit");
  const auto flag = [this](std::string_view n) {
    const auto* v = props.Find(n);
    return v && v->boolean;
  };
  const auto* name = props.Find("FontName");
  return detail::MakeFont(name ? name->text : std::string("System"), size ? size->real : 0.0,
                          unit ? unit->integer : 0, flag("Bold"), flag("Italic"), flag("Underline"));
}

void Control::Impl::NeverFocused() {
  applyFocusPolicy = [this] {
    if (widget) widget->setFocusPolicy(Qt::NoFocus);
  };
}

void Control::Impl::FocusedByTabStop() {
  applyFocusPolicy = [this] {
    if (widget) widget->setFocusPolicy(Bool("TabStop") ? Qt::StrongFocus : Qt::ClickFocus);
  };
}

bool Control::Impl::Fire(std::string_view eventName, const EventArgs& args) {
  const int n = detail::EventNumber(kind, eventName);
  if (n < 0) return false;
  const auto it = handlers.find(n);
  if (it == handlers.end()) return false;
  const Delegate handler = it->second;  // the handler may rebind the event
  Ref<Object> sender(self ? self->weak_from_this().lock() : nullptr);
  bool result = false;
  detail::AtBoundary([&] { result = handler.Invoke(sender, args); });
  return result;
}

Control::Control(Window* owner) : impl_(std::make_unique<Impl>()), owner_(owner) { impl_->self = this; }

Control::~Control() = default;

const std::string& Control::Name() const { return impl_->name; }
const PropertySchema& Control::Schema() const { return impl_->Schema(); }
void Control::SetProperty(std::string_view name, const PropertyValue& value) { impl_->Set(name, value); }
PropertyValue Control::Property(std::string_view name) const { return impl_->Get(name); }

void RectControl::Constructor() {
  Impl& c = *impl_;
  if (c.constructed) return;
  QWidget* client = detail::ClientOf(OwnerWindow());
  if (!client) throw NilObjectException("a control was constructed without its window");
  c.widget->setParent(client);
  c.constructed = true;
  c.ApplyAll();
  detail::ControlsChanged(OwnerWindow());
}

bool RectControl::Visible() const { return impl_->Bool("Visible"); }
void RectControl::Visible(bool visible) { impl_->SetBool("Visible", visible); }
bool RectControl::Enabled() const { return impl_->Bool("Enabled"); }
void RectControl::Enabled(bool enabled) { impl_->SetBool("Enabled", enabled); }
std::int64_t RectControl::Width() const { return impl_->Int("Width"); }
std::int64_t RectControl::Height() const { return impl_->Int("Height"); }

void RectControl::SetFocus() {
  QWidget* w = impl_->widget;
  if (!w) return;
  w->setFocus(Qt::OtherFocusReason);
}

// ---- Label -------------------------------------------------------------------------------

namespace {

// The font narrowed (to 70% at most), then made smaller, until the text fits the width.
QFont Fitted(QFont font, const QString& text, int width) {
  const double advance = QFontMetricsF(font).horizontalAdvance(text);
  if (advance <= width || width <= 0) return font;
  font.setStretch(std::max(70, static_cast<int>(100.0 * width / advance)));
  while (QFontMetricsF(font).horizontalAdvance(text) > width && font.pointSizeF() > 6.0) {
    font.setPointSizeF(std::max(6.0, font.pointSizeF() - 0.25));
  }
  return font;
}

using LabelWidget = ControlWidget<QLabel>;

}  // namespace

Label::Label(Window* owner) : RectControl(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::Label;
  auto* label = new LabelWidget(&c);
  label->setTextFormat(Qt::PlainText);
  c.widget = label;
  c.NeverFocused();
  c.applyOwn = [&c, label](std::string_view n, const PropertyValue& v) {
    if (n == "Value") {
      label->setText(FromUtf8(v.text));
    } else if (detail::IsFontProperty(n)) {
      label->setFont(c.Font());
    } else if (n == "TextColor") {
      detail::SetColour(label, QPalette::WindowText, v.colour);
    } else if (n == "TextAlignment" || n == "MultiLine") {
      const bool multi = c.Bool("MultiLine");
      label->setWordWrap(multi);
      label->setAlignment(detail::HorizontalAlignment(c.Int("TextAlignment")) | (multi ? Qt::AlignTop : Qt::AlignVCenter));
    } else if (n == "Selectable") {
      label->setTextInteractionFlags(v.boolean ? Qt::TextSelectableByMouse : Qt::NoTextInteraction);
    } else if (n == "Transparent") {
      label->setAutoFillBackground(!v.boolean);
    }
  };
  c.SetText("Value", "Label");
  c.ApplyAll();
}

std::string Label::Text() const { return impl_->Text("Value"); }
void Label::Text(std::string_view text) { impl_->SetText("Value", text); }

// ---- PushButton --------------------------------------------------------------------------

namespace {

// Button style 9 with no caption: the round help button marked "?".
constexpr std::int64_t kHelpButtonStyle = 9;

class ButtonWidget : public ControlWidget<QPushButton> {
 public:
  using ControlWidget::ControlWidget;
  bool helpStyle = false;

 private:
  // The caption uses the whole face of the button, and a smaller size of its font when the
  // desktop's font is wider than the one the design was made with: a caption is never cut.
  void PaintTextButton(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    p.drawControl(QStyle::CE_PushButtonBevel, option);
    QStyleOptionButton label = option;
    label.rect = rect().adjusted(2, 0, -2, 0);
    const QFont f = Fitted(font(), text(), label.rect.width());
    p.setFont(f);
    label.fontMetrics = QFontMetrics(f);
    p.drawControl(QStyle::CE_PushButtonLabel, label);
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    // Return on a focused button presses that button, not the window's default one.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
      if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
        animateClick();
        e->accept();
        return;
      }
    }
    QPushButton::keyPressEvent(e);
  }

  void paintEvent(QPaintEvent* e) override {
    if (!helpStyle) {
      PaintTextButton(e);
      return;
    }
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal d = std::min(width(), height()) - 3.0;
    const QRectF circle((width() - d) / 2.0, (height() - d) / 2.0, d, d);
    const QPalette& pal = palette();
    QColor face = pal.color(QPalette::Button);
    if (isDown()) face = face.darker(115);
    else if (underMouse() && isEnabled()) face = face.lighter(104);
    QLinearGradient fill(circle.topLeft(), circle.bottomLeft());
    fill.setColorAt(0.0, face.lighter(108));
    fill.setColorAt(1.0, face.darker(104));
    p.setBrush(fill);
    p.setPen(QPen(pal.color(QPalette::Mid).darker(115), 1.0));
    p.drawEllipse(circle);
    if (hasFocus()) {
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(pal.color(QPalette::Highlight), 1.5));
      p.drawEllipse(circle.adjusted(1.5, 1.5, -1.5, -1.5));
    }
    QFont f = font();
    f.setBold(true);
    f.setPixelSize(std::max(8, static_cast<int>(d * 0.6)));
    p.setFont(f);
    p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(circle, Qt::AlignCenter, QStringLiteral("?"));
  }
};

// '&' would mark a mnemonic in a Qt caption.
QString Caption(const std::string& text) {
  QString caption = FromUtf8(text);
  caption.replace(QLatin1Char('&'), QLatin1String("&&"));
  return caption;
}

}  // namespace

PushButton::PushButton(Window* owner) : RectControl(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::PushButton;
  auto* button = new ButtonWidget(&c);
  button->setAutoDefault(false);
  c.widget = button;
  QObject::connect(button, &QAbstractButton::clicked, button, [&c] { c.Fire("Action"); });
  c.FocusedByTabStop();
  c.applyOwn = [&c, button](std::string_view n, const PropertyValue& v) {
    if (n == "Caption" || n == "MacButtonStyle") {
      button->setText(Caption(c.Text("Caption")));
      button->helpStyle = c.Int("MacButtonStyle") == kHelpButtonStyle && c.Text("Caption").empty();
      button->setToolTip(button->helpStyle && c.Text("Tooltip").empty() ? QStringLiteral("Help")
                                                                        : FromUtf8(c.Text("Tooltip")));
      button->update();
    } else if (detail::IsFontProperty(n)) {
      button->setFont(c.Font());
    }
    (void)v;
  };
  c.SetText("Caption", "Untitled");
  c.ApplyAll();
}

void PushButton::Push() {
  Impl& c = *impl_;
  if (!c.Bool("Enabled")) return;
  const std::int64_t x = c.Int("Width") / 2;
  const std::int64_t y = c.Int("Height") / 2;
  if (c.Fire("MouseDown", {{}, x, y})) return;
  c.Fire("MouseUp", {{}, x, y});
  c.Fire("Action");
}

bool PushButton::UsableWhileBusy() const { return impl_->usableWhileBusy; }
void PushButton::UsableWhileBusy(bool usable) { impl_->usableWhileBusy = usable; }

// ---- Canvas ------------------------------------------------------------------------------

namespace {

class CanvasWidget : public ControlWidget<QWidget> {
 public:
  using ControlWidget::ControlWidget;
  Ref<Picture> backdrop;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (backdrop.IsNil() || backdrop->impl().image.isNull()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), backdrop->impl().image);
  }
};

}  // namespace

Canvas::Canvas(Window* owner) : RectControl(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::Canvas;
  auto* canvas = new CanvasWidget(&c);
  c.widget = canvas;
  c.applyFocusPolicy = [&c, canvas] {
    canvas->setFocusPolicy(!c.Bool("AllowFocus") ? Qt::NoFocus : c.Bool("TabStop") ? Qt::StrongFocus : Qt::ClickFocus);
  };
  c.applyOwn = [&c, canvas](std::string_view n, const PropertyValue& v) {
    if (n == "AllowFocus") c.applyFocusPolicy();
    if (n == "Transparent") canvas->setAutoFillBackground(!v.boolean);
  };
  c.ApplyAll();
}

Ref<Picture> Canvas::Backdrop() const {
  auto* canvas = dynamic_cast<CanvasWidget*>(impl_->widget.data());
  return canvas ? canvas->backdrop : Ref<Picture>();
}

void Canvas::Backdrop(const Ref<Picture>& picture) {
  if (auto* canvas = dynamic_cast<CanvasWidget*>(impl_->widget.data())) {
    canvas->backdrop = picture;
    canvas->update();
  }
}

// ---- Line --------------------------------------------------------------------------------

namespace {

class LineWidget : public ControlWidget<QWidget> {
 public:
  using ControlWidget::ControlWidget;
  QPointF from, to;  // in the widget
  qreal thickness = 1.0;
  QColor colour = Qt::black;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (thickness <= 0.0 || from == to) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(from, to);
  }
};

}  // namespace

Line::Line(Window* owner) : RectControl(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::Line;
  auto* line = new LineWidget(&c);
  line->setAttribute(Qt::WA_TransparentForMouseEvents);
  c.widget = line;
  c.NeverFocused();
  c.applyOwn = [&c, line](std::string_view n, const PropertyValue&) {
    if (n != "X1" && n != "X2" && n != "Y1" && n != "Y2" && n != "Thickness" && n != "LineColor") return;
    const double x1 = c.Real("X1"), x2 = c.Real("X2"), y1 = c.Real("Y1"), y2 = c.Real("Y2");
    line->thickness = c.Real("Thickness");
    line->colour = detail::ColourOf(c.Colour("LineColor"));
    // The widget covers the line and its thickness; the line is drawn inside it.
    const double pad = std::ceil(std::max(0.0, line->thickness) / 2.0) + 1.0;
    const double left = std::floor(std::min(x1, x2) - pad), top = std::floor(std::min(y1, y2) - pad);
    const double right = std::ceil(std::max(x1, x2) + pad), bottom = std::ceil(std::max(y1, y2) + pad);
    line->setGeometry(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top));
    line->from = QPointF(x1 - left, y1 - top);
    line->to = QPointF(x2 - left, y2 - top);
    line->update();
  };
  PropertyValue x2;
  x2.type = PropertyType::Double;
  x2.real = 100.0;
  c.props.Set(*detail::FindDecl(c.Schema(), "X2"), x2);
  c.ApplyAll();
}

// ---- ProgressWheel -----------------------------------------------------------------------

namespace {

// A spinner of twelve spokes, one brighter than the rest, turning once a second while shown.
class WheelWidget : public ControlWidget<QWidget> {
 public:
  explicit WheelWidget(Control::Impl* c) : ControlWidget(c) {
    ticker_.setInterval(50);
    QObject::connect(&ticker_, &QTimer::timeout, this, [this] { update(); });
    clock_.start();
  }
  int Frame() const { return static_cast<int>((clock_.elapsed() / 83) % 12); }

 protected:
  void showEvent(QShowEvent* e) override {
    QWidget::showEvent(e);
    ticker_.start();
  }
  void hideEvent(QHideEvent* e) override {
    QWidget::hideEvent(e);
    ticker_.stop();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    const qreal outer = side / 2.0 - 1.0, inner = outer * 0.45, spoke = std::max(1.5, side / 10.0);
    const int head = Frame();
    QColor colour = palette().color(QPalette::WindowText);
    for (int i = 0; i < 12; ++i) {
      const int age = (head - i + 12) % 12;  // 0 = the brightest
      colour.setAlphaF(std::max(0.15, 1.0 - age / 12.0));
      p.setPen(QPen(colour, spoke, Qt::SolidLine, Qt::RoundCap));
      const qreal a = i * (std::numbers::pi / 6.0);
      p.drawLine(QPointF(std::sin(a) * inner, -std::cos(a) * inner), QPointF(std::sin(a) * outer, -std::cos(a) * outer));
    }
  }

 private:
  QTimer ticker_;
  QElapsedTimer clock_;
};

}  // namespace

ProgressWheel::ProgressWheel(Window* owner) : RectControl(owner) {
  Impl& c = *impl_;
  c.kind = ControlKind::ProgressWheel;
  auto* wheel = new WheelWidget(&c);
  c.widget = wheel;
  c.NeverFocused();
  c.ApplyAll();
}

// ---- Timer -------------------------------------------------------------------------------

struct Timer::Impl {
  Timer* self = nullptr;
  detail::PropertyStore props;
  std::map<int, Delegate> handlers;
  QTimer timer;
  QElapsedTimer sinceConstruction;
  bool fired = false;

  const PropertySchema& Schema() const { return detail::SchemaOf(ControlKind::Timer); }

  // The first action comes Period after construction; a repeating timer then every Period.
  void Arm() {
    timer.stop();
    const std::int64_t mode = props.Int(Schema(), "RunMode");
    const std::int64_t period = std::max<std::int64_t>(1, props.Int(Schema(), "Period"));
    if (mode == 0 || (mode == 1 && fired)) return;
    std::int64_t wait = period;
    if (!fired) wait = std::max<std::int64_t>(0, period - sinceConstruction.elapsed());
    timer.setSingleShot(true);
    timer.start(static_cast<int>(std::min<std::int64_t>(wait, 0x7FFFFFFF)));
  }

  void Tick() {
    fired = true;
    if (props.Int(Schema(), "RunMode") == 2) {
      timer.setSingleShot(false);
      timer.start(static_cast<int>(std::clamp<std::int64_t>(props.Int(Schema(), "Period"), 1, 0x7FFFFFFF)));
    }
    const auto it = handlers.find(0);
    if (it == handlers.end()) return;
    const Delegate handler = it->second;
    Ref<Object> sender(self->weak_from_this().lock());
    detail::AtBoundary([&] { handler.Invoke(sender, {}); });
  }
};

Timer::Timer(Window* owner) : owner_(owner), impl_(std::make_unique<Impl>()) {
  impl_->self = this;
  impl_->sinceConstruction.start();
  impl_->timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&impl_->timer, &QTimer::timeout, &impl_->timer, [impl = impl_.get()] { impl->Tick(); });
  impl_->Arm();
}

Timer::~Timer() = default;

// Nothing of its own: the timer counts from its allocation.
void Timer::Constructor() {}

std::int64_t Timer::Period() const { return impl_->props.Int(impl_->Schema(), "Period"); }
std::int64_t Timer::RunMode() const { return impl_->props.Int(impl_->Schema(), "RunMode"); }
const PropertySchema& Timer::Schema() const { return impl_->Schema(); }

void Timer::SetProperty(std::string_view name, const PropertyValue& value) {
  impl_->props.Set(detail::CheckedDecl(impl_->Schema(), kClassName, name, value), value);
  impl_->Arm();
}

PropertyValue Timer::Property(std::string_view name) const { return impl_->props.Get(impl_->Schema(), name); }

namespace detail {

// Used by RuntimeAddEventHandler: a timer's events by number.
std::map<int, Delegate>* TimerHandlers(Timer& timer) { return &timer.impl().handlers; }

}  // namespace detail

}  // namespace fw
