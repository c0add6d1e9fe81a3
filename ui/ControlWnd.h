#pragma once
// The main window: three input fields with captions and range hints, the report area, the four
// buttons, the help button, the busy wheel, the banner and the by-line. The class keeps no state:
// every operation reaches its controls by name through the accessors, and the run data lives in
// VarsModule.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "framework/core/PropertyString.h"
#include "framework/gui/Window.h"

class ControlWnd;

// The main window's single instance; the first call builds it.
fw::Ref<ControlWnd> ControlWnd();

// Makes the main window's class known to the framework; one of the program's initialisers.
void RegisterControlWndClass();

class ControlWnd : public fw::Window {
 public:
  static constexpr std::string_view kClassName = "ControlWnd.ControlWnd";

  const fw::ClassDecl& Declaration() const override;

  void Layout() override;
  void CreateControls() override;
  void CreateControls0();

  // The twenty controls, in creation order; each call looks the control up by name.
  fw::Ref<fw::Canvas> Canvas1() const;
  fw::Ref<fw::TextArea> DataFld() const;
  fw::Ref<fw::Label> authorTxt() const;
  fw::Ref<fw::TextField> VarFld() const;
  fw::Ref<fw::TextField> SubFld() const;
  fw::Ref<fw::TextField> RepFld() const;
  fw::Ref<fw::Label> VarWarning() const;
  fw::Ref<fw::Label> SubWarning() const;
  fw::Ref<fw::Label> RepWarning() const;
  fw::Ref<fw::TextArea> disclaimFld() const;
  fw::Ref<fw::PushButton> CalculateBtn() const;
  fw::Ref<fw::PushButton> PrintBtn() const;
  fw::Ref<fw::PushButton> ClearBtn() const;
  fw::Ref<fw::PushButton> QuitBtn() const;
  fw::Ref<fw::Label> Label1() const;
  fw::Ref<fw::Label> Label2() const;
  fw::Ref<fw::Label> Label3() const;
  fw::Ref<fw::PushButton> Qbtn() const;
  fw::Ref<fw::Line> Line1() const;
  fw::Ref<fw::ProgressWheel> Pwheel() const;

  // Control-event handlers, in the order in which they are bound.
  void Canvas1_MouseExit(fw::Ref<fw::Canvas> sender);
  void DataFld_MouseEnter(fw::Ref<fw::TextArea> sender);
  void DataFld_GotFocus(fw::Ref<fw::TextArea> sender);
  bool DataFld_KeyDown(fw::Ref<fw::TextArea> sender, const std::string& key);
  void DataFld_Open(fw::Ref<fw::TextArea> sender);
  bool VarFld_KeyDown(fw::Ref<fw::TextField> sender, const std::string& key);
  void VarFld_GotFocus(fw::Ref<fw::TextField> sender);
  void VarFld_LostFocus(fw::Ref<fw::TextField> sender);
  void VarFld_TextChange(fw::Ref<fw::TextField> sender);
  bool SubFld_KeyDown(fw::Ref<fw::TextField> sender, const std::string& key);
  void SubFld_GotFocus(fw::Ref<fw::TextField> sender);
  void SubFld_LostFocus(fw::Ref<fw::TextField> sender);
  void SubFld_TextChange(fw::Ref<fw::TextField> sender);
  bool RepFld_KeyDown(fw::Ref<fw::TextField> sender, const std::string& key);
  void RepFld_GotFocus(fw::Ref<fw::TextField> sender);
  void RepFld_LostFocus(fw::Ref<fw::TextField> sender);
  void RepFld_TextChange(fw::Ref<fw::TextField> sender);
  bool CalculateBtn_MouseDown(fw::Ref<fw::PushButton> sender, std::int64_t x, std::int64_t y);
  bool CalculateBtn_MouseUp(fw::Ref<fw::PushButton> sender, std::int64_t x, std::int64_t y);
  void CalculateBtn_Action(fw::Ref<fw::PushButton> sender);
  void PrintBtn_Action(fw::Ref<fw::PushButton> sender);
  void ClearBtn_Action(fw::Ref<fw::PushButton> sender);
  void QuitBtn_Action(fw::Ref<fw::PushButton> sender);
  bool Qbtn_MouseDown(fw::Ref<fw::PushButton> sender, std::int64_t x, std::int64_t y);
  void Pwheel_Open(fw::Ref<fw::ProgressWheel> sender);

  // Window events.
  void AddMenuHandlers(fw::Ref<fw::Window> w) override;
  void Event_Close() override;
  void Event_Activate() override;
  void Event_EnableMenuItems() override;
  void Event_Open() override;
  // The About item's menu handler.
  bool AboutTessivar_Action();

  // The framework's event query for this class.
  bool IsEventImplemented(std::string_view eventName) const;
};

// The key rule of the three number fields: true swallows the key (with a beep), false lets it
// through. Digits and control characters pass.
bool DigitKeyFilter(const std::string& key);

// The main window's form design: one property list for the window and one per control, by the
// control's name.
namespace ControlWndDesign {
// The twenty controls' names, in creation order.
inline constexpr std::array<std::string_view, 20> kControlNames = {
    "Canvas1",    "DataFld",      "authorTxt", "VarFld",   "SubFld",   "RepFld",  "VarWarning",
    "SubWarning", "RepWarning",   "disclaimFld", "CalculateBtn", "PrintBtn", "ClearBtn",
    "QuitBtn",    "Label1",       "Label2",    "Label3",   "Qbtn",     "Line1",   "Pwheel"};
const fw::PropertyString& WindowList();
// Raises InvalidArgumentException for a name that is not one of the twenty controls.
const fw::PropertyString& ControlList(std::string_view controlName);
// The by-line under the banner.
inline constexpr std::string_view kByLine = "by the Tessivar authors";
}  // namespace ControlWndDesign
