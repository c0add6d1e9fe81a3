#pragma once
// The splash window, which is also the about box.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/core/PropertyString.h"
#include "framework/gui/Window.h"

class SplashWnd;

// The splash window's single instance; built, and so shown, by the first call.
fw::Ref<SplashWnd> SplashWnd();

// Makes the splash window's class known to the framework; one of the program's initialisers.
void RegisterSplashWndClass();

// The splash window's one-shot timer; it adds nothing to Timer but its identity.
class SplashWndTimer1 : public fw::Timer {
 public:
  using fw::Timer::Timer;
};

class SplashWnd : public fw::Window {
 public:
  static constexpr std::string_view kClassName = "SplashWnd.SplashWnd";

  const fw::ClassDecl& Declaration() const override;

  void Layout() override;
  void CreateControls() override;
  void CreateControls0();
  fw::Ref<fw::Canvas> Canvas1();
  fw::Ref<fw::Label> StaticText1();
  fw::Ref<fw::Canvas> Canvas3();
  fw::Ref<fw::Timer> Timer1();
  void Timer1_Action(fw::Ref<fw::Timer> sender);
  bool Event_KeyDown(const std::string& key) override;
  bool Event_MouseDown(std::int64_t x, std::int64_t y) override;
  bool Event_CancelClose(bool appQuitting) override;

  bool IsEventImplemented(std::string_view eventName) const;
};

// The splash window's form design: one property list for the window and one per control.
namespace SplashWndDesign {
const fw::PropertyString& WindowList();
const fw::PropertyString& Canvas1List();
const fw::PropertyString& StaticText1List();
const fw::PropertyString& Canvas3List();
const fw::PropertyString& Timer1List();
}  // namespace SplashWndDesign
