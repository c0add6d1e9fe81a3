#pragma once
// The splash window, which is also the about box.

#include "framework/gui/Window.h"

class SplashWnd;

// The splash window's single instance; built, and so shown, by the first call.
fw::Ref<SplashWnd> SplashWnd();

class SplashWnd : public fw::Window {
 public:
  // (members to come)
};
