#include "ui/SplashWnd.h"

#include "framework/gui/Events.h"
#include "framework/gui/Object.h"
#include "ui/ControlWnd.h"
#include "ui/CreditLine.h"
#include "ui/Pictures.h"

namespace {

const fw::ClassDecl& SplashWndDeclaration() {
  static const fw::ClassDecl decl{
      std::string(SplashWnd::kClassName),
      std::string(fw::Window::kClassName),
      {
          {"Layout", "(  )", {}},
          {"CreateControls", "(  )", {}},
          {"_CreateControls0", "(  )", {{"Hidden", ""}}},
          {"Canvas1", "(  ) as Canvas", {}},
          {"StaticText1", "(  ) as Label", {}},
          {"Canvas3", "(  ) as Canvas", {}},
          {"Timer1", "(  ) as Timer", {}},
          {"Timer1_Action", "( Timer )", {}},
          {"Event_KeyDown", "( String ) as Boolean", {}},
          {"Event_MouseDown", "( Integer, Integer ) as Boolean", {}},
          {"Event_CancelClose", "( Boolean ) as Boolean", {}},
      },
      {{"IsEventImplemented", "( String ) as Boolean", {}}},
      {"Layout", "CreateControls", "KeyDown", "MouseDown", "CancelClose"},
  };
  return decl;
}

// The two canvases share one list but for their values.
struct CanvasDesign {
  std::int64_t tabIndex;
  bool lockTop, lockLeft;
  std::int64_t height, width, top, left;
  std::string_view name;
};

fw::PropertyString CanvasList(const CanvasDesign& d) {
  return fw::PropertyListWriter()
      .Text("InitialParent", "")
      .Boolean("Transparent", true)
      .Boolean("DoubleBuffer", false)
      .Boolean("Visible", true)
      .Boolean("Enabled", true)
      .Boolean("TabStop", true)
      .Integer("TabPanelIndex", 0)
      .Integer("TabIndex", d.tabIndex)
      .Boolean("LockBottom", false)
      .Boolean("LockRight", false)
      .Boolean("LockTop", d.lockTop)
      .Boolean("LockLeft", d.lockLeft)
      .Integer("Height", d.height)
      .Integer("Width", d.width)
      .Integer("Top", d.top)
      .Integer("Left", d.left)
      .Integer("Index", fw::kNoControlArray)
      .Text("Name", d.name)
      .Boolean("AllowAutoDeactivate", true)
      .Text("Tooltip", "")
      .Boolean("AllowFocusRing", true)
      .Boolean("AllowFocus", false)
      .Boolean("AllowTabs", false)
      .Build();
}

// Creates a control inside the window, constructs it and adds it under its name.
template <class C>
void AddNew(fw::Window& window, std::string_view name) {
  fw::Ref<C> control = window.New<C>();
  control->Constructor();
  window.AddControl(name, control);
}

// Every hand-over, by timer, key or mouse, does the same.
void HandOver() {
  ::SplashWnd()->Hide();
  ::ControlWnd()->Show();
}

}  // namespace

namespace SplashWndDesign {

const fw::PropertyString& WindowList() {
  static const fw::PropertyString list = fw::PropertyListWriter()
                                             .Integer("Width", 414)
                                             .Integer("Height", 250)
                                             .Integer("MinimumWidth", 64)
                                             .Integer("MinimumHeight", 64)
                                             .Integer("MaximumWidth", 32000)
                                             .Integer("MaximumHeight", 32000)
                                             .EnumWide("Type", 2)
                                             .Text("Title", "Splash")
                                             .Boolean("HasCloseButton", false)
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
                                             .Colour("BackgroundColor", 0xFFFFFF)
                                             .Boolean("MenuBarVisible", true)
                                             .Boolean("LiveResize", false)
                                             .Build();
  return list;
}

const fw::PropertyString& Canvas1List() {
  static const fw::PropertyString list =
      CanvasList({.tabIndex = 0, .lockTop = false, .lockLeft = false, .height = 99, .width = 374,
                  .top = 30, .left = 20, .name = "Canvas1"});
  return list;
}

const fw::PropertyString& Canvas3List() {
  static const fw::PropertyString list =
      CanvasList({.tabIndex = 3, .lockTop = true, .lockLeft = true, .height = 56, .width = 65,
                  .top = 141, .left = 174, .name = "Canvas3"});
  return list;
}

const fw::PropertyString& StaticText1List() {
  static const fw::PropertyString list = fw::PropertyListWriter()
                                             .Text("InitialParent", "")
                                             .Text("DataField", "")
                                             .Text("DataSource", "")
                                             .Boolean("Underline", false)
                                             .Boolean("Italic", false)
                                             .Boolean("Bold", false)
                                             .Boolean("Visible", true)
                                             .Boolean("Transparent", false)
                                             .Colour("TextColor", 0x666666)
                                             .Boolean("Selectable", false)
                                             .Boolean("Multiline", false)
                                             .Boolean("Enabled", true)
                                             .Boolean("TabStop", false)
                                             .Integer("TabPanelIndex", 0)
                                             .Integer("TabIndex", 2)
                                             .Boolean("LockBottom", false)
                                             .Boolean("LockRight", false)
                                             .Boolean("LockTop", false)
                                             .Boolean("LockLeft", false)
                                             .Integer("Height", 35)
                                             .Integer("Width", 414)
                                             .Integer("Top", 213)
                                             .Integer("Left", 0)
                                             .Integer("Index", fw::kNoControlArray)
                                             .Text("Name", "StaticText1")
                                             .Boolean("AllowAutoDeactivate", true)
                                             .Text("Tooltip", "")
                                             .EnumWide("TextAlignment", 2)
                                             .Text("Value", CreditLine)
                                             .Text("FontName", "System")
                                             .Single("FontSize", 10.0f)
                                             .EnumNarrow("FontUnit", 0)
                                             .Build();
  return list;
}

const fw::PropertyString& Timer1List() {
  static const fw::PropertyString list =
      fw::PropertyListWriter().Integer("Period", 4000).EnumWide("RunMode", 1).Build();
  return list;
}

}  // namespace SplashWndDesign

fw::Ref<class SplashWnd> SplashWnd() {
  fw::Ref<fw::Window> window = fw::GetImplicitWindow(SplashWnd::kClassName);
  if (window.IsNil()) {
    fw::Ref<class SplashWnd> created = fw::RuntimeNewObject<class SplashWnd>();
    created->Constructor();
    window = created;
  }
  return fw::RuntimeCheckCast<class SplashWnd>(window);
}

void RegisterSplashWndClass() { fw::RuntimeRegisterClass(SplashWndDeclaration()); }

const fw::ClassDecl& SplashWnd::Declaration() const { return SplashWndDeclaration(); }

void SplashWnd::Layout() { fw::SetProperties(*this, SplashWndDesign::WindowList()); }

void SplashWnd::CreateControls() { CreateControls0(); }

void SplashWnd::CreateControls0() {
  AddNew<fw::Canvas>(*this, "Canvas1");
  fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas1"))->Backdrop(Tessivar());
  fw::SetProperties(*fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas1")),
                    SplashWndDesign::Canvas1List());

  AddNew<fw::Label>(*this, "StaticText1");
  fw::SetProperties(*fw::RuntimeCheckCast<fw::Label>(ControlByName("StaticText1")),
                    SplashWndDesign::StaticText1List());

  AddNew<fw::Canvas>(*this, "Canvas3");
  fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas3"))->Backdrop(NumBlocks());
  fw::SetProperties(*fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas3")),
                    SplashWndDesign::Canvas3List());

  AddNew<SplashWndTimer1>(*this, "Timer1");
  fw::SetProperties(*fw::RuntimeCheckCast<SplashWndTimer1>(ControlByName("Timer1")),
                    SplashWndDesign::Timer1List());
  fw::RuntimeAddEventHandler(
      fw::RuntimeCheckCast<fw::Timer>(ControlByName("Timer1")), fw::TimerEvent::Action,
      fw::RuntimeCreateDelegate(&SplashWnd::Timer1_Action, this, "( Timer )", 1));
}

fw::Ref<fw::Canvas> SplashWnd::Canvas1() {
  return fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas1"));
}

fw::Ref<fw::Label> SplashWnd::StaticText1() {
  return fw::RuntimeCheckCast<fw::Label>(ControlByName("StaticText1"));
}

fw::Ref<fw::Canvas> SplashWnd::Canvas3() {
  return fw::RuntimeCheckCast<fw::Canvas>(ControlByName("Canvas3"));
}

fw::Ref<fw::Timer> SplashWnd::Timer1() {
  return fw::RuntimeCheckCast<fw::Timer>(ControlByName("Timer1"));
}

void SplashWnd::Timer1_Action(fw::Ref<fw::Timer> sender) {
  (void)sender;
  HandOver();
}

bool SplashWnd::Event_KeyDown(const std::string& key) {
  (void)key;
  HandOver();
  return false;
}

bool SplashWnd::Event_MouseDown(std::int64_t x, std::int64_t y) {
  (void)x;
  (void)y;
  HandOver();
  return false;
}

// Window managers that draw a close box on the splash window anyway: its close box hands over
// too, and the window is kept, only hidden, for the about box.
bool SplashWnd::Event_CancelClose(bool appQuitting) {
  (void)appQuitting;
  HandOver();
  return true;
}

bool SplashWnd::IsEventImplemented(std::string_view eventName) const {
  return fw::RuntimeIsEventHandled(*this, kClassName, eventName, true);
}
