// The main window's form design: its property lists, the creation of its twenty controls and
// the binding of their events.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/core/Exceptions.h"
#include "framework/gui/Events.h"
#include "framework/gui/Object.h"
#include "ui/ControlWnd.h"
#include "ui/HelpText.h"
#include "ui/Pictures.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kTeal = 0x18605A;
constexpr std::uint32_t kRed = 0xEF1F1D;
constexpr std::uint32_t kGreen = 0x107F40;

struct Box {
  std::int64_t left, top, width, height;
};

// The entries that open the list of a positioned control, from its name to AllowAutoDeactivate.
struct Head {
  std::string_view name;
  Box box;
  bool lockLeft, lockTop, lockRight, lockBottom;
  std::int64_t tabIndex;
  bool tabStop;
};

fw::PropertyListWriter HeadOf(const Head& h) {
  fw::PropertyListWriter list;
  list.Text("Name", h.name)
      .Integer("Index", fw::kNoControlArray)
      .Integer("Left", h.box.left)
      .Integer("Top", h.box.top)
      .Integer("Width", h.box.width)
      .Integer("Height", h.box.height)
      .Boolean("LockLeft", h.lockLeft)
      .Boolean("LockTop", h.lockTop)
      .Boolean("LockRight", h.lockRight)
      .Boolean("LockBottom", h.lockBottom)
      .Integer("TabIndex", h.tabIndex)
      .Integer("TabPanelIndex", 0)
      .Boolean("TabStop", h.tabStop)
      .Boolean("AllowAutoDeactivate", true);
  return list;
}

fw::PropertyString BuildWindowList() {
  return fw::PropertyListWriter()
      .Integer("Width", 500)
      .Integer("Height", 600)
      .Integer("MinimumWidth", 64)
      .Integer("MinimumHeight", 64)
      .Integer("MaximumWidth", 450)
      .Integer("MaximumHeight", 550)
      .EnumWide("Type", 0)
      .Text("Title", "Tessivar")
      .Boolean("HasCloseButton", true)
      .Boolean("HasMaximizeButton", false)
      .Boolean("HasMinimizeButton", true)
      .Boolean("HasFullScreenButton", false)
      .Boolean("Resizeable", false)
      .Boolean("Composite", false)
      .Integer("MacProcID", 0)
      .Boolean("FullScreen", false)
      .EnumWide("DefaultLocation", 0)
      .Boolean("Visible", true)
      .Boolean("HasBackgroundColor", true)
      .Colour("BackgroundColor", kWhite)
      .Boolean("MenuBarVisible", true)
      .Boolean("LiveResize", false)
      .Build();
}

fw::PropertyString BuildCanvas1List() {
  return HeadOf({.name = "Canvas1",
                 .box = {.left = 62, .top = 2, .width = 375, .height = 101},
                 .lockLeft = false,
                 .lockTop = false,
                 .lockRight = false,
                 .lockBottom = false,
                 .tabIndex = 0,
                 .tabStop = true})
      .Boolean("Enabled", false)
      .Text("Tooltip", "")
      .Boolean("AllowFocusRing", true)
      .Boolean("Visible", true)
      .Boolean("AllowFocus", false)
      .Boolean("AllowTabs", false)
      .Boolean("Transparent", true)
      .Boolean("DoubleBuffer", false)
      .Boolean("Transparent", true)
      .Text("InitialParent", "")
      .Build();
}

// The report area and the help-text holder share one list but for these values.
struct TextAreaDesign {
  std::string_view name;
  Box box;
  bool locked;  // all four edges
  std::int64_t tabIndex;
  bool hasBorder, enabled, hasVerticalScrollbar, allowStyledText;
  std::uint32_t textColor;
  bool visible;
  std::string_view fontName, value;
};

fw::PropertyString BuildTextAreaList(const TextAreaDesign& d) {
  return HeadOf({.name = d.name,
                 .box = d.box,
                 .lockLeft = d.locked,
                 .lockTop = d.locked,
                 .lockRight = d.locked,
                 .lockBottom = d.locked,
                 .tabIndex = d.tabIndex,
                 .tabStop = false})
      .Colour("BackgroundColor", kWhite)
      .Boolean("HasBorder", d.hasBorder)
      .Boolean("Enabled", d.enabled)
      .Text("Format", "")
      .Text("Tooltip", "")
      .Boolean("HideSelection", true)
      .Double("LineHeight", 0.0)
      .Double("LineSpacing", 1.0)
      .Boolean("Multiline", true)
      .Boolean("HasHorizontalScrollbar", false)
      .Boolean("HasVerticalScrollbar", d.hasVerticalScrollbar)
      .Boolean("AllowStyledText", d.allowStyledText)
      .Colour("TextColor", d.textColor)
      .Boolean("Transparent", true)
      .Boolean("AllowFocusRing", false)
      .Boolean("Visible", d.visible)
      .Boolean("Bold", false)
      .Boolean("Italic", false)
      .Text("FontName", d.fontName)
      .Single("FontSize", 11.0f)
      .EnumNarrow("FontUnit", 0)
      .Boolean("Underline", false)
      .Text("Value", d.value)
      .Boolean("AllowTabs", false)
      .EnumWide("TextAlignment", 0)
      .Boolean("AllowSpellChecking", false)
      .Integer("MaximumCharactersAllowed", 0)
      .Text("ValidationMask", "")
      .Boolean("ReadOnly", false)
      .Text("DataSource", "")
      .Text("DataField", "")
      .Text("InitialParent", "")
      .Build();
}

// The three number fields differ only in these values.
struct TextFieldDesign {
  std::string_view name;
  std::int64_t top, tabIndex, maximumCharacters;
  std::string_view validationMask;
};

fw::PropertyString BuildTextFieldList(const TextFieldDesign& d) {
  return HeadOf({.name = d.name,
                 .box = {.left = 205, .top = d.top, .width = 40, .height = 20},
                 .lockLeft = false,
                 .lockTop = false,
                 .lockRight = false,
                 .lockBottom = false,
                 .tabIndex = d.tabIndex,
                 .tabStop = true})
      .Colour("BackgroundColor", kWhite)
      .Boolean("HasBorder", true)
      .Boolean("Enabled", true)
      .Text("Format", "")
      .Text("Tooltip", "")
      .Boolean("Password", false)
      .Colour("TextColor", kBlack)
      .Boolean("Transparent", true)
      .Boolean("AllowFocusRing", true)
      .Boolean("Visible", true)
      .Text("FontName", "System")
      .Single("FontSize", 12.0f)
      .EnumNarrow("FontUnit", 0)
      .Boolean("Bold", false)
      .Boolean("Italic", false)
      .Boolean("Underline", false)
      .Text("Hint", "")
      .Text("Value", "")
      .Boolean("AllowTabs", false)
      .EnumWide("TextAlignment", 2)
      .Boolean("AllowSpellChecking", false)
      .Integer("MaximumCharactersAllowed", d.maximumCharacters)
      .Text("ValidationMask", d.validationMask)
      .Boolean("ReadOnly", false)
      .Text("DataSource", "")
      .Text("DataField", "")
      .Text("InitialParent", "")
      .Build();
}

// The by-line, the three range hints and the three captions.
struct LabelDesign {
  std::string_view name;
  Box box;
  bool locked;  // left and top
  std::int64_t tabIndex;
  bool tabStop;
  std::int64_t textAlignment;
  std::uint32_t textColor;
  std::string_view value;
  bool visible, bold;
  float fontSize;
};

fw::PropertyString BuildLabelList(const LabelDesign& d) {
  return HeadOf({.name = d.name,
                 .box = d.box,
                 .lockLeft = d.locked,
                 .lockTop = d.locked,
                 .lockRight = false,
                 .lockBottom = false,
                 .tabIndex = d.tabIndex,
                 .tabStop = d.tabStop})
      .Boolean("Enabled", true)
      .Text("Tooltip", "")
      .Boolean("Multiline", false)
      .Boolean("Selectable", false)
      .EnumWide("TextAlignment", d.textAlignment)
      .Colour("TextColor", d.textColor)
      .Boolean("Transparent", false)
      .Text("Value", d.value)
      .Boolean("Visible", d.visible)
      .Boolean("Bold", d.bold)
      .Boolean("Italic", false)
      .Text("FontName", "System")
      .Boolean("Underline", false)
      .Single("FontSize", d.fontSize)
      .EnumNarrow("FontUnit", 0)
      .Text("DataSource", "")
      .Text("DataField", "")
      .Text("InitialParent", "")
      .Build();
}

// The four text buttons and the help button.
struct PushButtonDesign {
  std::string_view name;
  Box box;
  bool locked;  // left and top
  std::int64_t tabIndex, macButtonStyle;
  std::string_view caption;
  bool transparent;
  float fontSize;
  bool bold;
};

fw::PropertyString BuildPushButtonList(const PushButtonDesign& d) {
  return HeadOf({.name = d.name,
                 .box = d.box,
                 .lockLeft = d.locked,
                 .lockTop = d.locked,
                 .lockRight = false,
                 .lockBottom = false,
                 .tabIndex = d.tabIndex,
                 .tabStop = true})
      .EnumWide("MacButtonStyle", d.macButtonStyle)
      .Boolean("Cancel", false)
      .Text("Caption", d.caption)
      .Boolean("Default", true)
      .Boolean("Enabled", true)
      .Text("Tooltip", "")
      .Boolean("Transparent", d.transparent)
      .Boolean("Visible", true)
      .Text("FontName", "System")
      .Single("FontSize", d.fontSize)
      .EnumNarrow("FontUnit", 0)
      .Boolean("Bold", d.bold)
      .Boolean("Italic", false)
      .Boolean("Underline", false)
      .Text("InitialParent", "")
      .Build();
}

fw::PropertyString BuildLine1List() {
  return fw::PropertyListWriter()
      .Text("Name", "Line1")
      .Integer("Index", fw::kNoControlArray)
      .Double("X1", 22.0)
      .Double("X2", 478.0)
      .Double("Y1", 250.0)
      .Double("Y2", 250.0)
      .Integer("TabPanelIndex", 0)
      .Double("Thickness", 8.0)
      .Colour("LineColor", kTeal)
      .Boolean("Transparent", false)
      .Boolean("Visible", true)
      .Text("InitialParent", "")
      .Build();
}

fw::PropertyString BuildPwheelList() {
  return fw::PropertyListWriter()
      .Boolean("AllowAutoDeactivate", true)
      .Text("Tooltip", "")
      .Boolean("Transparent", false)
      .Text("Name", "Pwheel")
      .Integer("Index", fw::kNoControlArray)
      .Integer("Left", 407)
      .Integer("Top", 162)
      .Integer("Width", 30)
      .Integer("Height", 30)
      .Boolean("LockLeft", true)
      .Boolean("LockTop", true)
      .Boolean("LockRight", false)
      .Boolean("LockBottom", false)
      .Integer("TabPanelIndex", 0)
      .Integer("TabIndex", 26)
      .Boolean("TabStop", true)
      .Text("InitialParent", "")
      .Boolean("Visible", false)
      .Boolean("Enabled", true)
      .Build();
}

fw::PropertyString BuildControlList(std::string_view name) {
  if (name == "Canvas1") return BuildCanvas1List();

  const TextAreaDesign areas[] = {
      {.name = "DataFld", .box = {.left = 20, .top = 260, .width = 460, .height = 275}, .locked = true,
       .tabIndex = 1, .hasBorder = true, .enabled = true, .hasVerticalScrollbar = true, .allowStyledText = true,
       .textColor = kBlack, .visible = true, .fontName = "Courier", .value = ""},
      // Wholly left of the client area: it holds the help text and is never seen.
      {.name = "disclaimFld", .box = {.left = -90, .top = 519, .width = 58, .height = 151}, .locked = false,
       .tabIndex = 13, .hasBorder = false, .enabled = false, .hasVerticalScrollbar = false,
       .allowStyledText = false, .textColor = kGreen, .visible = false, .fontName = "System", .value = HelpText},
  };
  for (const TextAreaDesign& d : areas) {
    if (name == d.name) return BuildTextAreaList(d);
  }

  constexpr TextFieldDesign fields[] = {
      {.name = "VarFld", .top = 148, .tabIndex = 6, .maximumCharacters = 3, .validationMask = "###"},
      {.name = "SubFld", .top = 172, .tabIndex = 7, .maximumCharacters = 4, .validationMask = "####"},
      {.name = "RepFld", .top = 196, .tabIndex = 8, .maximumCharacters = 4, .validationMask = "####"},
  };
  for (const TextFieldDesign& d : fields) {
    if (name == d.name) return BuildTextFieldList(d);
  }

  // The by-line, the range hints (fixed texts; a test holds them to the input limits) and the
  // captions of the number fields.
  constexpr LabelDesign labels[] = {
      {.name = "authorTxt", .box = {.left = 62, .top = 94, .width = 375, .height = 14}, .locked = false,
       .tabIndex = 2, .tabStop = false, .textAlignment = 2, .textColor = kTeal, .value = ControlWndDesign::kByLine,
       .visible = true, .bold = false, .fontSize = 10.0f},
      {.name = "VarWarning", .box = {.left = 249, .top = 150, .width = 100, .height = 16}, .locked = false,
       .tabIndex = 9, .tabStop = true, .textAlignment = 0, .textColor = kRed, .value = "(3 - 200)",
       .visible = false, .bold = false, .fontSize = 12.0f},
      {.name = "SubWarning", .box = {.left = 249, .top = 174, .width = 110, .height = 16}, .locked = false,
       .tabIndex = 10, .tabStop = true, .textAlignment = 0, .textColor = kRed, .value = "(50 - 2500)",
       .visible = false, .bold = false, .fontSize = 12.0f},
      {.name = "RepWarning", .box = {.left = 249, .top = 197, .width = 110, .height = 16}, .locked = false,
       .tabIndex = 11, .tabStop = true, .textAlignment = 0, .textColor = kRed, .value = "(1 - 1000)",
       .visible = false, .bold = false, .fontSize = 12.0f},
      {.name = "Label1", .box = {.left = 40, .top = 148, .width = 160, .height = 20}, .locked = true,
       .tabIndex = 19, .tabStop = false, .textAlignment = 0, .textColor = kTeal, .value = "Number of variables:",
       .visible = true, .bold = true, .fontSize = 14.0f},
      {.name = "Label2", .box = {.left = 40, .top = 172, .width = 160, .height = 20}, .locked = true,
       .tabIndex = 20, .tabStop = false, .textAlignment = 0, .textColor = kTeal, .value = "Number of subjects:",
       .visible = true, .bold = true, .fontSize = 14.0f},
      {.name = "Label3", .box = {.left = 40, .top = 196, .width = 160, .height = 20}, .locked = true,
       .tabIndex = 21, .tabStop = false, .textAlignment = 0, .textColor = kTeal,
       .value = "Number of replications:", .visible = true, .bold = true, .fontSize = 14.0f},
  };
  for (const LabelDesign& d : labels) {
    if (name == d.name) return BuildLabelList(d);
  }

  // The four text buttons along the bottom, and the help button.
  constexpr PushButtonDesign buttons[] = {
      {.name = "CalculateBtn", .box = {.left = 20, .top = 560, .width = 70, .height = 20}, .locked = false,
       .tabIndex = 15, .macButtonStyle = 0, .caption = "Calculate", .transparent = true, .fontSize = 12.0f,
       .bold = false},
      {.name = "PrintBtn", .box = {.left = 130, .top = 560, .width = 70, .height = 20}, .locked = false,
       .tabIndex = 16, .macButtonStyle = 0, .caption = "Print", .transparent = true, .fontSize = 12.0f,
       .bold = false},
      {.name = "ClearBtn", .box = {.left = 240, .top = 560, .width = 70, .height = 20}, .locked = false,
       .tabIndex = 17, .macButtonStyle = 0, .caption = "Clear", .transparent = true, .fontSize = 12.0f,
       .bold = false},
      {.name = "QuitBtn", .box = {.left = 350, .top = 560, .width = 70, .height = 20}, .locked = false,
       .tabIndex = 18, .macButtonStyle = 0, .caption = "Quit", .transparent = true, .fontSize = 12.0f,
       .bold = true},
      {.name = "Qbtn", .box = {.left = 458, .top = 553, .width = 30, .height = 30}, .locked = true,
       .tabIndex = 25, .macButtonStyle = 9, .caption = "", .transparent = false, .fontSize = 0.0f,
       .bold = false},
  };
  for (const PushButtonDesign& d : buttons) {
    if (name == d.name) return BuildPushButtonList(d);
  }

  if (name == "Line1") return BuildLine1List();
  if (name == "Pwheel") return BuildPwheelList();
  throw fw::InvalidArgumentException("the main window has no control named " + std::string(name));
}

// Allocates, constructs and adds one control; the window keeps it.
template <class C>
void AddNew(fw::Window& w, std::string_view name) {
  fw::Ref<C> control = w.New<C>();
  control->Constructor();
  w.AddControl(name, control);
}

template <class C, class Handler>
void Bind(const fw::Ref<C>& control, int eventNumber, Handler handler, class ControlWnd* target,
          std::string_view signature) {
  fw::RuntimeAddEventHandler(control, eventNumber,
                             fw::RuntimeCreateDelegate(handler, target, signature, 1));
}

}  // namespace

namespace ControlWndDesign {

const fw::PropertyString& WindowList() {
  static const fw::PropertyString list = BuildWindowList();
  return list;
}

const fw::PropertyString& ControlList(std::string_view controlName) {
  // Built together at the first request and kept for the run.
  static const std::vector<std::pair<std::string_view, fw::PropertyString>> lists = [] {
    std::vector<std::pair<std::string_view, fw::PropertyString>> built;
    for (std::string_view name : kControlNames) built.emplace_back(name, BuildControlList(name));
    return built;
  }();
  for (const auto& [name, list] : lists) {
    if (name == controlName) return list;
  }
  throw fw::InvalidArgumentException("the main window has no control named " +
                                     std::string(controlName));
}

}  // namespace ControlWndDesign

void ControlWnd::Layout() { fw::SetProperties(*this, ControlWndDesign::WindowList()); }

void ControlWnd::CreateControls() { CreateControls0(); }

void ControlWnd::CreateControls0() {
  using ControlWndDesign::ControlList;
  namespace Area = fw::TextAreaEvent;
  namespace Field = fw::TextFieldEvent;
  namespace Button = fw::PushButtonEvent;

  AddNew<fw::Canvas>(*this, "Canvas1");
  Canvas1()->Backdrop(Tessivar());
  fw::SetProperties(*Canvas1(), ControlList("Canvas1"));
  Bind(Canvas1(), fw::CanvasEvent::MouseExit, &ControlWnd::Canvas1_MouseExit, this, "( Canvas )");

  AddNew<fw::TextArea>(*this, "DataFld");
  fw::SetProperties(*DataFld(), ControlList("DataFld"));
  Bind(DataFld(), Area::MouseEnter, &ControlWnd::DataFld_MouseEnter, this, "( TextArea )");
  Bind(DataFld(), Area::GotFocus, &ControlWnd::DataFld_GotFocus, this, "( TextArea )");
  Bind(DataFld(), Area::KeyDown, &ControlWnd::DataFld_KeyDown, this,
       "( TextArea, String ) as Boolean");
  Bind(DataFld(), Area::Open, &ControlWnd::DataFld_Open, this, "( TextArea )");

  AddNew<fw::Label>(*this, "authorTxt");
  fw::SetProperties(*authorTxt(), ControlList("authorTxt"));

  AddNew<fw::TextField>(*this, "VarFld");
  fw::SetProperties(*VarFld(), ControlList("VarFld"));
  Bind(VarFld(), Field::KeyDown, &ControlWnd::VarFld_KeyDown, this,
       "( TextField, String ) as Boolean");
  Bind(VarFld(), Field::GotFocus, &ControlWnd::VarFld_GotFocus, this, "( TextField )");
  Bind(VarFld(), Field::LostFocus, &ControlWnd::VarFld_LostFocus, this, "( TextField )");
  Bind(VarFld(), Field::TextChange, &ControlWnd::VarFld_TextChange, this, "( TextField )");

  AddNew<fw::TextField>(*this, "SubFld");
  fw::SetProperties(*SubFld(), ControlList("SubFld"));
  Bind(SubFld(), Field::KeyDown, &ControlWnd::SubFld_KeyDown, this,
       "( TextField, String ) as Boolean");
  Bind(SubFld(), Field::GotFocus, &ControlWnd::SubFld_GotFocus, this, "( TextField )");
  Bind(SubFld(), Field::LostFocus, &ControlWnd::SubFld_LostFocus, this, "( TextField )");
  Bind(SubFld(), Field::TextChange, &ControlWnd::SubFld_TextChange, this, "( TextField )");

  AddNew<fw::TextField>(*this, "RepFld");
  fw::SetProperties(*RepFld(), ControlList("RepFld"));
  Bind(RepFld(), Field::KeyDown, &ControlWnd::RepFld_KeyDown, this,
       "( TextField, String ) as Boolean");
  Bind(RepFld(), Field::GotFocus, &ControlWnd::RepFld_GotFocus, this, "( TextField )");
  Bind(RepFld(), Field::LostFocus, &ControlWnd::RepFld_LostFocus, this, "( TextField )");
  Bind(RepFld(), Field::TextChange, &ControlWnd::RepFld_TextChange, this, "( TextField )");

  AddNew<fw::Label>(*this, "VarWarning");
  fw::SetProperties(*VarWarning(), ControlList("VarWarning"));
  AddNew<fw::Label>(*this, "SubWarning");
  fw::SetProperties(*SubWarning(), ControlList("SubWarning"));
  AddNew<fw::Label>(*this, "RepWarning");
  fw::SetProperties(*RepWarning(), ControlList("RepWarning"));

  AddNew<fw::TextArea>(*this, "disclaimFld");
  fw::SetProperties(*disclaimFld(), ControlList("disclaimFld"));

  AddNew<fw::PushButton>(*this, "CalculateBtn");
  fw::SetProperties(*CalculateBtn(), ControlList("CalculateBtn"));
  Bind(CalculateBtn(), Button::MouseDown, &ControlWnd::CalculateBtn_MouseDown, this,
       "( PushButton, Integer, Integer ) as Boolean");
  Bind(CalculateBtn(), Button::MouseUp, &ControlWnd::CalculateBtn_MouseUp, this,
       "( PushButton, Integer, Integer ) as Boolean");
  Bind(CalculateBtn(), Button::Action, &ControlWnd::CalculateBtn_Action, this, "( PushButton )");

  AddNew<fw::PushButton>(*this, "PrintBtn");
  fw::SetProperties(*PrintBtn(), ControlList("PrintBtn"));
  Bind(PrintBtn(), Button::Action, &ControlWnd::PrintBtn_Action, this, "( PushButton )");

  AddNew<fw::PushButton>(*this, "ClearBtn");
  fw::SetProperties(*ClearBtn(), ControlList("ClearBtn"));
  Bind(ClearBtn(), Button::Action, &ControlWnd::ClearBtn_Action, this, "( PushButton )");

  AddNew<fw::PushButton>(*this, "QuitBtn");
  fw::SetProperties(*QuitBtn(), ControlList("QuitBtn"));
  // Quitting is the way to stop a long calculation.
  QuitBtn()->UsableWhileBusy(true);
  Bind(QuitBtn(), Button::Action, &ControlWnd::QuitBtn_Action, this, "( PushButton )");

  AddNew<fw::Label>(*this, "Label1");
  fw::SetProperties(*Label1(), ControlList("Label1"));
  AddNew<fw::Label>(*this, "Label2");
  fw::SetProperties(*Label2(), ControlList("Label2"));
  AddNew<fw::Label>(*this, "Label3");
  fw::SetProperties(*Label3(), ControlList("Label3"));

  AddNew<fw::PushButton>(*this, "Qbtn");
  fw::SetProperties(*Qbtn(), ControlList("Qbtn"));
  Bind(Qbtn(), Button::MouseDown, &ControlWnd::Qbtn_MouseDown, this,
       "( PushButton, Integer, Integer ) as Boolean");

  AddNew<fw::Line>(*this, "Line1");
  fw::SetProperties(*Line1(), ControlList("Line1"));

  AddNew<fw::ProgressWheel>(*this, "Pwheel");
  fw::SetProperties(*Pwheel(), ControlList("Pwheel"));
  Bind(Pwheel(), fw::ProgressWheelEvent::Open, &ControlWnd::Pwheel_Open, this, "( ProgressWheel )");
}
