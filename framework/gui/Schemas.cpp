// The properties that each class declares, their defaults, and each class's events.
#include <QApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include "framework/core/Exceptions.h"
#include "framework/gui/ControlImpl.h"

namespace fw::detail {
namespace {

using T = PropertyType;

void Append(PropertySchema& to, std::initializer_list<PropertyDecl> decls) { to.insert(to.end(), decls); }

void ControlBase(PropertySchema& s) {
  Append(s, {{"Index", T::Integer}, {"TabPanelIndex", T::Integer}, {"Name", T::Text}});
}

void RectControlBase(PropertySchema& s) {
  ControlBase(s);
  Append(s, {{"Left", T::Integer},
             {"Top", T::Integer},
             {"Width", T::Integer},
             {"Height", T::Integer},
             {"TabIndex", T::Integer},
             {"LockLeft", T::Boolean},
             {"LockTop", T::Boolean},
             {"LockRight", T::Boolean},
             {"LockBottom", T::Boolean},
             {"TabStop", T::Boolean},
             {"AllowAutoDeactivate", T::Boolean},
             {"Enabled", T::Boolean},
             {"Visible", T::Boolean},
             {"Transparent", T::Boolean},
             {"Tooltip", T::Text},
             {"InitialParent", T::Text}});
}

// What TextArea and TextField each declare.
void TextCommon(PropertySchema& s) {
  RectControlBase(s);
  Append(s, {{"AllowSpellChecking", T::Boolean}});  // TextEdit's own
  Append(s, {{"MaximumCharactersAllowed", T::Integer},
             {"HasBorder", T::Boolean},
             {"AllowFocusRing", T::Boolean},
             {"Bold", T::Boolean},
             {"Italic", T::Boolean},
             {"Underline", T::Boolean},
             {"AllowTabs", T::Boolean},
             {"ReadOnly", T::Boolean},
             {"Format", T::Text},
             {"FontName", T::Text},
             {"Value", T::Text},
             {"ValidationMask", T::Text},
             {"DataSource", T::Text},
             {"DataField", T::Text},
             {"BackgroundColor", T::Colour},
             {"TextColor", T::Colour},
             {"FontSize", T::Single},
             {"FontUnit", T::EnumNarrow},
             {"TextAlignment", T::EnumWide}});
}

PropertySchema Build(ControlKind kind) {
  PropertySchema s;
  switch (kind) {
    case ControlKind::TextArea:
      TextCommon(s);
      Append(s, {{"HideSelection", T::Boolean},
                 {"MultiLine", T::Boolean},
                 {"HasHorizontalScrollbar", T::Boolean},
                 {"HasVerticalScrollbar", T::Boolean},
                 {"AllowStyledText", T::Boolean},
                 {"LineHeight", T::Double},
                 {"LineSpacing", T::Double}});
      break;
    case ControlKind::TextField:
      TextCommon(s);
      Append(s, {{"Password", T::Boolean}, {"Hint", T::Text}});
      break;
    case ControlKind::Label:
      RectControlBase(s);
      Append(s, {{"MultiLine", T::Boolean},
                 {"Selectable", T::Boolean},
                 {"Bold", T::Boolean},
                 {"Italic", T::Boolean},
                 {"Underline", T::Boolean},
                 {"Value", T::Text},
                 {"FontName", T::Text},
                 {"DataSource", T::Text},
                 {"DataField", T::Text},
                 {"TextColor", T::Colour},
                 {"FontSize", T::Single},
                 {"FontUnit", T::EnumNarrow},
                 {"TextAlignment", T::EnumWide}});
      break;
    case ControlKind::PushButton:
      RectControlBase(s);
      Append(s, {{"Cancel", T::Boolean},
                 {"Default", T::Boolean},
                 {"Bold", T::Boolean},
                 {"Italic", T::Boolean},
                 {"Underline", T::Boolean},
                 {"Caption", T::Text},
                 {"FontName", T::Text},
                 {"MacButtonStyle", T::EnumWide},
                 {"FontSize", T::Single},
                 {"FontUnit", T::EnumNarrow}});
      break;
    case ControlKind::Canvas:
      RectControlBase(s);
      Append(s, {{"AllowFocusRing", T::Boolean},
                 {"AllowFocus", T::Boolean},
                 {"AllowTabs", T::Boolean},
                 {"DoubleBuffer", T::Boolean}});
      break;
    case ControlKind::Line:
      RectControlBase(s);
      Append(s, {{"X1", T::Double},
                 {"X2", T::Double},
                 {"Y1", T::Double},
                 {"Y2", T::Double},
                 {"Thickness", T::Double},
                 {"LineColor", T::Colour}});
      break;
    case ControlKind::ProgressWheel:
      RectControlBase(s);
      break;
    case ControlKind::Timer:
      Append(s, {{"Period", T::Integer}, {"RunMode", T::EnumWide}});
      break;
  }
  return s;
}

const std::vector<EventDecl> kControlEvents = {
    {"Close", " )"}, {"ContextualMenuAction", ", MenuItem ) as Boolean"}, {"Open", " )"}};

const std::vector<EventDecl> kRectControlEvents = {
    {"ConstructContextualMenu", ", MenuItem, Integer, Integer ) as Boolean"},
    {"DragEnter", ", DragItem, Integer ) as Boolean"},
    {"DragExit", ", DragItem, Integer )"},
    {"DragOver", ", Integer, Integer, DragItem, Integer ) as Boolean"},
    {"DropObject", ", DragItem, Integer )"},
    {"KeyUp", ", String )"},
    {"KeyDown", ", String ) as Boolean"},
    {"MouseWheel", ", Integer, Integer, Integer, Integer ) as Boolean"},
    {"MouseEnter", " )"},
    {"MouseExit", " )"},
    {"MouseMove", ", Integer, Integer )"},
    {"MouseDrag", ", Integer, Integer )"}};

constexpr EventDecl kGotFocus{"GotFocus", " )"};
constexpr EventDecl kLostFocus{"LostFocus", " )"};
constexpr EventDecl kMouseDown{"MouseDown", ", Integer, Integer ) as Boolean"};
constexpr EventDecl kMouseUp{"MouseUp", ", Integer, Integer ) as Boolean"};

std::vector<EventDecl> RectEvents(std::initializer_list<EventDecl> own) {
  std::vector<EventDecl> all = kControlEvents;
  all.insert(all.end(), kRectControlEvents.begin(), kRectControlEvents.end());
  all.insert(all.end(), own);
  return all;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

}  // namespace

const PropertySchema& SchemaOf(ControlKind kind) {
  static const PropertySchema schemas[] = {
      Build(ControlKind::TextArea), Build(ControlKind::TextField), Build(ControlKind::Label),
      Build(ControlKind::PushButton), Build(ControlKind::Canvas), Build(ControlKind::Line),
      Build(ControlKind::ProgressWheel), Build(ControlKind::Timer)};
  return schemas[static_cast<int>(kind)];
}

const PropertySchema& WindowSchema() {
  static const PropertySchema schema = {
      {"Width", T::Integer},          {"Height", T::Integer},           {"MinimumWidth", T::Integer},
      {"MinimumHeight", T::Integer},  {"MaximumWidth", T::Integer},     {"MaximumHeight", T::Integer},
      {"MacProcId", T::Integer},      {"HasCloseButton", T::Boolean},   {"HasMaximizeButton", T::Boolean},
      {"HasMinimizeButton", T::Boolean}, {"HasFullScreenButton", T::Boolean}, {"Resizeable", T::Boolean},
      {"Composite", T::Boolean},      {"FullScreen", T::Boolean},       {"Visible", T::Boolean},
      {"HasBackgroundColor", T::Boolean}, {"MenuBarVisible", T::Boolean}, {"LiveResize", T::Boolean},
      {"Title", T::Text},             {"Type", T::EnumWide},            {"DefaultLocation", T::EnumWide},
      {"BackgroundColor", T::Colour}};
  return schema;
}

const PropertyDecl* FindDecl(const PropertySchema& schema, std::string_view name) {
  for (const PropertyDecl& d : schema) {
    if (SameIgnoringCase(d.name, name)) return &d;
  }
  return nullptr;
}

PropertyValue DefaultValue(const PropertyDecl& decl) {
  PropertyValue v;
  v.type = decl.type;
  static const std::string_view kTrue[] = {"Visible",        "Enabled",       "TabStop",   "AllowAutoDeactivate",
                                           "HasBorder",      "AllowFocusRing", "HasCloseButton",
                                           "HasMinimizeButton", "HasMaximizeButton", "Resizeable",
                                           "MenuBarVisible", "HideSelection", "HasVerticalScrollbar",
                                           "AllowStyledText"};
  for (std::string_view n : kTrue) v.boolean = v.boolean || n == decl.name;
  if (decl.name == "Index") v.integer = kNoControlArray;
  if (decl.name == "FontName") v.text = "System";
  if (decl.name == "BackgroundColor") v.colour = 0x00FFFFFFu;
  if (decl.name == "LineSpacing" || decl.name == "Thickness") v.real = 1.0;
  if (decl.name == "Period") v.integer = 1000;
  if (decl.name == "RunMode") v.integer = 2;
  if (decl.name == "MinimumWidth" || decl.name == "MinimumHeight") v.integer = 64;
  if (decl.name == "MaximumWidth" || decl.name == "MaximumHeight") v.integer = 32000;
  if (decl.name == "Width") v.integer = 100;
  if (decl.name == "Height") v.integer = 22;
  return v;
}

void PropertyStore::Set(const PropertyDecl& decl, const PropertyValue& value) {
  for (auto& [name, stored] : values_) {
    if (name == decl.name) {
      stored = value;
      return;
    }
  }
  values_.emplace_back(decl.name, value);
}

const PropertyValue* PropertyStore::Find(std::string_view declaredName) const {
  for (const auto& [name, stored] : values_) {
    if (name == declaredName) return &stored;
  }
  return nullptr;
}

PropertyValue PropertyStore::Get(const PropertySchema& schema, std::string_view name) const {
  const PropertyDecl* decl = FindDecl(schema, name);
  if (!decl) throw InvalidArgumentException("no property named " + std::string(name));
  if (const PropertyValue* v = Find(decl->name)) return *v;
  return DefaultValue(*decl);
}

const PropertyDecl& CheckedDecl(const PropertySchema& schema, std::string_view className, std::string_view name,
                                const PropertyValue& value) {
  const PropertyDecl* decl = FindDecl(schema, name);
  if (!decl) {
    throw InvalidArgumentException("class " + std::string(className) + " has no property " + std::string(name));
  }
  if (decl->type != value.type) {
    throw InvalidArgumentException("property " + std::string(decl->name) + " of class " + std::string(className) +
                                   " was given a value of another type");
  }
  return *decl;
}

const std::vector<EventDecl>& EventsOf(ControlKind kind) {
  static const std::vector<EventDecl> textEvents =
      RectEvents({{"SelChange", " )"}, kGotFocus, kLostFocus, kMouseDown, kMouseUp,
                  {"ValidationError", ", String, Integer )"}, {"TextChange", " )"}});
  static const std::vector<EventDecl> buttonEvents =
      RectEvents({{"Action", " )"}, kGotFocus, kLostFocus, kMouseDown, kMouseUp});
  static const std::vector<EventDecl> canvasEvents = RectEvents(
      {{"Paint", ", Graphics )"}, kGotFocus, kLostFocus, kMouseDown, kMouseUp, {"DoubleClick", ", Integer, Integer )"}});
  static const std::vector<EventDecl> labelEvents = RectEvents({kMouseDown, kMouseUp});
  static const std::vector<EventDecl> plainEvents = RectEvents({});
  static const std::vector<EventDecl> timerEvents = {{"Action", " )"}};
  switch (kind) {
    case ControlKind::TextArea:
    case ControlKind::TextField:
      return textEvents;
    case ControlKind::PushButton:
      return buttonEvents;
    case ControlKind::Canvas:
      return canvasEvents;
    case ControlKind::Label:
      return labelEvents;
    case ControlKind::Line:
    case ControlKind::ProgressWheel:
      return plainEvents;
    case ControlKind::Timer:
      return timerEvents;
  }
  return plainEvents;
}

std::string_view FrameworkClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::TextArea: return TextArea::kClassName;
    case ControlKind::TextField: return TextField::kClassName;
    case ControlKind::Label: return Label::kClassName;
    case ControlKind::PushButton: return PushButton::kClassName;
    case ControlKind::Canvas: return Canvas::kClassName;
    case ControlKind::Line: return Line::kClassName;
    case ControlKind::ProgressWheel: return ProgressWheel::kClassName;
    case ControlKind::Timer: return Timer::kClassName;
  }
  return {};
}

std::string EventSignature(ControlKind kind, int number) {
  const auto& events = EventsOf(kind);
  if (number < 0 || number >= static_cast<int>(events.size())) return {};
  return "( " + std::string(FrameworkClassName(kind)) + std::string(events[static_cast<std::size_t>(number)].rest);
}

int EventNumber(ControlKind kind, std::string_view name) {
  const auto& events = EventsOf(kind);
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

bool IsModifierKey(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R: return true;
    default: return false;
  }
}

std::string KeyText(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Backspace: return "\x08";
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return "\t";
    case Qt::Key_Return:
    case Qt::Key_Enter: return "\r";
    case Qt::Key_Escape: return "\x1b";
    case Qt::Key_Delete: return "\x7f";
    default: break;
  }
  const Qt::KeyboardModifiers mods = event.modifiers();
  // Ctrl+letter is the letter's control character on every platform.
  if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && event.key() >= Qt::Key_A &&
      event.key() <= Qt::Key_Z) {
    return std::string(1, static_cast<char>(event.key() - Qt::Key_A + 1));
  }
  const QString text = event.text();
  if (text.isEmpty()) return {};
  // One character: the first code point of what the key typed.
  const QList<uint> codes = text.toUcs4();
  if (codes.isEmpty() || codes.front() > 0x10FFFF) return {};
  const char32_t first = codes.front();
  return ToUtf8(QString::fromUcs4(&first, 1));
}

QFont MakeFont(const std::string& name, double size, std::int64_t unit, bool bold, bool italic, bool underline) {
  QFont font = QApplication::font();
  const QString family = FromUtf8(name).trimmed();
  if (family.isEmpty() || family.compare(QLatin1String("System"), Qt::CaseInsensitive) == 0 ||
      family.compare(QLatin1String("SmallSystem"), Qt::CaseInsensitive) == 0) {
    // The designs were made in a face of Arial's widths: in its metric twins (Debian's
    // fonts-liberation2) their captions fit their labels at the designed sizes.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
  } else {
    font.setFamilies({family});
    // Courier and its kin must come out fixed-pitch whatever fonts the machine has.
    if (family.contains(QLatin1String("Courier"), Qt::CaseInsensitive) ||
        family.contains(QLatin1String("Mono"), Qt::CaseInsensitive)) {
      font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
      font.setFixedPitch(true);
    } else {
      font.setStyleHint(QFont::AnyStyle);
    }
  }
  if (size > 0.0 && size < 1000.0) {
    // A design point is one of the window's points, the unit of every position and size, so
    // that text keeps its place in the design whatever the screen's resolution.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen && screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
    switch (unit) {
      case 1: font.setPixelSize(std::max(1, static_cast<int>(size + 0.5))); break;
      case 3: font.setPointSizeF(size * 72.0); break;
      case 4: font.setPointSizeF(size * 72.0 / 25.4); break;
      default: font.setPointSizeF(size * 72.0 / dpi); break;
    }
  }
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  return font;
}

QColor ColourOf(std::uint32_t argb) {
  return QColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
                static_cast<int>(argb & 0xFF));
}

}  // namespace fw::detail

namespace fw::detail {

void SetColour(QWidget* widget, QPalette::ColorRole role, std::uint32_t argb) {
  QPalette p = widget->palette();
  p.setColor(QPalette::Active, role, ColourOf(argb));
  p.setColor(QPalette::Inactive, role, ColourOf(argb));
  widget->setPalette(p);
}

Qt::Alignment HorizontalAlignment(std::int64_t code) {
  switch (code) {
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

bool IsFontProperty(std::string_view n) {
  return n == "FontName" || n == "FontSize" || n == "FontUnit" || n == "Bold" || n == "Italic" || n == "Underline";
}

}  // namespace fw::detail
