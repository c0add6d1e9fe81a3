// The main window's class: its declaration to the framework, the single instance, the control
// accessors and the event query.

#include "ui/ControlWnd.h"

#include "framework/gui/Object.h"

namespace {

const fw::ClassDecl& ControlWndDeclaration() {
  static const fw::ClassDecl decl{
      std::string(ControlWnd::kClassName),
      std::string(fw::Window::kClassName),
      {
          {"Layout", "(  )", {}},
          {"CreateControls", "(  )", {}},
          {"_CreateControls0", "(  )", {{"Hidden", ""}}},
          {"Canvas1", "(  ) as Canvas", {}},
          {"DataFld", "(  ) as TextArea", {}},
          {"authorTxt", "(  ) as Label", {}},
          {"VarFld", "(  ) as TextField", {}},
          {"SubFld", "(  ) as TextField", {}},
          {"RepFld", "(  ) as TextField", {}},
          {"VarWarning", "(  ) as Label", {}},
          {"SubWarning", "(  ) as Label", {}},
          {"RepWarning", "(  ) as Label", {}},
          {"disclaimFld", "(  ) as TextArea", {}},
          {"CalculateBtn", "(  ) as PushButton", {}},
          {"PrintBtn", "(  ) as PushButton", {}},
          {"ClearBtn", "(  ) as PushButton", {}},
          {"QuitBtn", "(  ) as PushButton", {}},
          {"Label1", "(  ) as Label", {}},
          {"Label2", "(  ) as Label", {}},
          {"Label3", "(  ) as Label", {}},
          {"Qbtn", "(  ) as PushButton", {}},
          {"Line1", "(  ) as Line", {}},
          {"Pwheel", "(  ) as ProgressWheel", {}},
          {"Canvas1_MouseExit", "( Canvas )", {}},
          {"DataFld_MouseEnter", "( TextArea )", {}},
          {"DataFld_GotFocus", "( TextArea )", {}},
          {"DataFld_KeyDown", "( TextArea, String ) as Boolean", {}},
          {"DataFld_Open", "( TextArea )", {}},
          {"VarFld_KeyDown", "( TextField, String ) as Boolean", {}},
          {"VarFld_GotFocus", "( TextField )", {}},
          {"VarFld_LostFocus", "( TextField )", {}},
          {"VarFld_TextChange", "( TextField )", {}},
          {"SubFld_KeyDown", "( TextField, String ) as Boolean", {}},
          {"SubFld_GotFocus", "( TextField )", {}},
          {"SubFld_LostFocus", "( TextField )", {}},
          {"SubFld_TextChange", "( TextField )", {}},
          {"RepFld_KeyDown", "( TextField, String ) as Boolean", {}},
          {"RepFld_GotFocus", "( TextField )", {}},
          {"RepFld_LostFocus", "( TextField )", {}},
          {"RepFld_TextChange", "( TextField )", {}},
          {"CalculateBtn_MouseDown", "( PushButton, Integer, Integer ) as Boolean", {}},
          {"CalculateBtn_MouseUp", "( PushButton, Integer, Integer ) as Boolean", {}},
          {"CalculateBtn_Action", "( PushButton )", {}},
          {"PrintBtn_Action", "( PushButton )", {}},
          {"ClearBtn_Action", "( PushButton )", {}},
          {"QuitBtn_Action", "( PushButton )", {}},
          {"Qbtn_MouseDown", "( PushButton, Integer, Integer ) as Boolean", {}},
          {"Pwheel_Open", "( ProgressWheel )", {}},
          {"AddMenuHandlers", "( Window )", {}},
          {"Event_Close", "(  )", {}},
          {"Event_Activate", "(  )", {}},
          {"Event_EnableMenuItems", "(  )", {}},
          {"Event_Open", "(  )", {}},
          {"_AboutTessivar_Action", "(  ) as Boolean", {}},
      },
      {{"IsEventImplemented", "( String ) as Boolean", {}}},
      {"Activate", "AddMenuHandlers", "Close", "CreateControls", "EnableMenuItems", "Layout",
       "Open"},
  };
  return decl;
}

// Accessor body: the control of that name, as its class; nil when there is none.
template <class C>
fw::Ref<C> Find(const fw::Window& w, std::string_view name) {
  return fw::RuntimeCheckCast<C>(w.ControlByName(name));
}

}  // namespace

void RegisterControlWndClass() { fw::RuntimeRegisterClass(ControlWndDeclaration()); }

fw::Ref<class ControlWnd> ControlWnd() {
  fw::Ref<fw::Window> w = fw::GetImplicitWindow(ControlWnd::kClassName);
  if (w.IsNil()) {
    fw::Ref<class ControlWnd> built = fw::RuntimeNewObject<class ControlWnd>();
    built->Constructor();
    w = built;
  }
  return fw::RuntimeCheckCast<class ControlWnd>(w);
}

const fw::ClassDecl& ControlWnd::Declaration() const { return ControlWndDeclaration(); }

bool ControlWnd::IsEventImplemented(std::string_view eventName) const {
  return fw::RuntimeIsEventHandled(*this, kClassName, eventName, true);
}

fw::Ref<fw::Canvas> ControlWnd::Canvas1() const { return Find<fw::Canvas>(*this, "Canvas1"); }
fw::Ref<fw::TextArea> ControlWnd::DataFld() const { return Find<fw::TextArea>(*this, "DataFld"); }
fw::Ref<fw::Label> ControlWnd::authorTxt() const { return Find<fw::Label>(*this, "authorTxt"); }
fw::Ref<fw::TextField> ControlWnd::VarFld() const { return Find<fw::TextField>(*this, "VarFld"); }
fw::Ref<fw::TextField> ControlWnd::SubFld() const { return Find<fw::TextField>(*this, "SubFld"); }
fw::Ref<fw::TextField> ControlWnd::RepFld() const { return Find<fw::TextField>(*this, "RepFld"); }
fw::Ref<fw::Label> ControlWnd::VarWarning() const { return Find<fw::Label>(*this, "VarWarning"); }
fw::Ref<fw::Label> ControlWnd::SubWarning() const { return Find<fw::Label>(*this, "SubWarning"); }
fw::Ref<fw::Label> ControlWnd::RepWarning() const { return Find<fw::Label>(*this, "RepWarning"); }
fw::Ref<fw::TextArea> ControlWnd::disclaimFld() const {
  return Find<fw::TextArea>(*this, "disclaimFld");
}
fw::Ref<fw::PushButton> ControlWnd::CalculateBtn() const {
  return Find<fw::PushButton>(*this, "CalculateBtn");
}
fw::Ref<fw::PushButton> ControlWnd::PrintBtn() const {
  return Find<fw::PushButton>(*this, "PrintBtn");
}
fw::Ref<fw::PushButton> ControlWnd::ClearBtn() const {
  return Find<fw::PushButton>(*this, "ClearBtn");
}
fw::Ref<fw::PushButton> ControlWnd::QuitBtn() const {
  return Find<fw::PushButton>(*this, "QuitBtn");
}
fw::Ref<fw::Label> ControlWnd::Label1() const { return Find<fw::Label>(*this, "Label1"); }
fw::Ref<fw::Label> ControlWnd::Label2() const { return Find<fw::Label>(*this, "Label2"); }
fw::Ref<fw::Label> ControlWnd::Label3() const { return Find<fw::Label>(*this, "Label3"); }
fw::Ref<fw::PushButton> ControlWnd::Qbtn() const { return Find<fw::PushButton>(*this, "Qbtn"); }
fw::Ref<fw::Line> ControlWnd::Line1() const { return Find<fw::Line>(*this, "Line1"); }
fw::Ref<fw::ProgressWheel> ControlWnd::Pwheel() const {
  return Find<fw::ProgressWheel>(*this, "Pwheel");
}
