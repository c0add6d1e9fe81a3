#pragma once
// The application's one menu bar.

#include <string_view>

#include "framework/gui/Menus.h"

class Menu;

// The menu bar, built by the first call; later calls return the same bar.
fw::Ref<Menu> Menu();

// Makes the class known to the framework and starts with no bar; one of the program's
// initialisers.
void RegisterMenuClass();

class Menu : public fw::MenuBar {
 public:
  static constexpr std::string_view kClassName = "Menu.Menu";
  std::string_view ClassName() const override { return kClassName; }

  void Constructor();
  void Untitled0();
  void Untitled1();
  void Untitled2();
  void Untitled3();
};
