#pragma once
// Global accessors of the application object and of the About item of its menu bar.

#include "framework/gui/Menus.h"

class App;

// The registered application object.
fw::Ref<App> App();
// The About item, looked up by name in the application's menu bar; raises NilObjectException
// when there is no application object or no menu bar.
fw::Ref<fw::AppleMenuItem> AboutTessivar();
