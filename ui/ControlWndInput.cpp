// Activation and opening of the main window, the number fields' key rule and range hints, the
// report area's events and the Calculate button's press.

#include "framework/core/Text.h"
#include "framework/gui/Dialogs.h"
#include "stats/VarsModule.h"
#include "ui/ControlWnd.h"

bool DigitKeyFilter(const std::string& key) {
  const std::int64_t code = fw::Asc(key);
  // Text comparisons of the whole key: "12" sorts between "0" and "9", "9a" after "9".
  if (fw::RuntimeStringCompare(key, "0") >= 0 && fw::RuntimeStringCompare(key, "9") <= 0) {
    return false;
  }
  if (code < 32) return false;
  if (code == 127) return false;
  fw::Beep();
  return true;
}

void ControlWnd::Event_Open() { disclaimFld()->Visible(true); }

void ControlWnd::Event_Activate() {
  VarsModule::kEOL = fw::RuntimeAddString(fw::Chr(13), fw::Chr(10));
  constexpr const VarsModule::InputLimits& limits = VarsModule::kInputLimits;
  VarsModule::SubMin = limits.SubMin;
  VarsModule::SubMax = limits.SubMax;
  VarsModule::VarMin = limits.VarMin;
  VarsModule::VarMax = limits.VarMax;
  VarsModule::RepMin = limits.RepMin;
  VarsModule::RepMax = limits.RepMax;
  Refresh(true);
  VarFld()->SetFocus();
}

// Bound to six events that need no reaction; each binding keeps its own name.
void ControlWnd::Canvas1_MouseExit(fw::Ref<fw::Canvas>) {}
void ControlWnd::DataFld_Open(fw::Ref<fw::TextArea>) {}
void ControlWnd::VarFld_TextChange(fw::Ref<fw::TextField>) {}
void ControlWnd::SubFld_TextChange(fw::Ref<fw::TextField>) {}
void ControlWnd::RepFld_TextChange(fw::Ref<fw::TextField>) {}
void ControlWnd::Pwheel_Open(fw::Ref<fw::ProgressWheel>) {}

void ControlWnd::DataFld_MouseEnter(fw::Ref<fw::TextArea>) { disclaimFld()->Visible(false); }

void ControlWnd::DataFld_GotFocus(fw::Ref<fw::TextArea> sender) { DataFld_MouseEnter(sender); }

bool ControlWnd::DataFld_KeyDown(fw::Ref<fw::TextArea>, const std::string&) {
  disclaimFld()->Visible(false);
  return false;
}

bool ControlWnd::VarFld_KeyDown(fw::Ref<fw::TextField>, const std::string& key) {
  return DigitKeyFilter(key);
}
bool ControlWnd::SubFld_KeyDown(fw::Ref<fw::TextField> sender, const std::string& key) {
  return VarFld_KeyDown(sender, key);
}
bool ControlWnd::RepFld_KeyDown(fw::Ref<fw::TextField> sender, const std::string& key) {
  return VarFld_KeyDown(sender, key);
}

void ControlWnd::VarFld_GotFocus(fw::Ref<fw::TextField>) { VarWarning()->Visible(true); }
void ControlWnd::VarFld_LostFocus(fw::Ref<fw::TextField>) { VarWarning()->Visible(false); }
void ControlWnd::SubFld_GotFocus(fw::Ref<fw::TextField>) { SubWarning()->Visible(true); }
void ControlWnd::SubFld_LostFocus(fw::Ref<fw::TextField>) { SubWarning()->Visible(false); }
void ControlWnd::RepFld_GotFocus(fw::Ref<fw::TextField>) { RepWarning()->Visible(true); }
void ControlWnd::RepFld_LostFocus(fw::Ref<fw::TextField>) { RepWarning()->Visible(false); }

// The wheel shows at the press, before the button's action runs the calculation.
bool ControlWnd::CalculateBtn_MouseDown(fw::Ref<fw::PushButton>, std::int64_t, std::int64_t) {
  Pwheel()->Visible(true);
  return false;
}

// Released off the button, a press starts nothing: the wheel goes again. Released on it, the
// click's calculation runs and hides the wheel at its end.
bool ControlWnd::CalculateBtn_MouseUp(fw::Ref<fw::PushButton> sender, std::int64_t x, std::int64_t y) {
  if (x < 0 || y < 0 || x >= sender->Width() || y >= sender->Height()) Pwheel()->Visible(false);
  return false;
}
