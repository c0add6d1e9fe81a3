#pragma once
// The application object.

#include <string_view>

#include "framework/gui/Application.h"

// Makes the class known to the framework; one of the program's initialisers.
void RegisterAppClass();

class App : public fw::Application {
 public:
  static constexpr std::string_view kClassName = "App";
  const fw::ClassDecl& Declaration() const override;

  void Constructor();

  bool IsEventImplemented(std::string_view eventName) const;
};
