#pragma once
// Top-level windows. A program window class derives from Window, declares itself with a
// ClassDecl, and overrides the events it implements; the framework delivers an event only when
// the declaration lists it. Each class has one implicit instance, keyed by its class-name string.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "framework/gui/Controls.h"
#include "framework/gui/Events.h"
#include "framework/gui/Object.h"

namespace fw {

class Window : public Object {
 public:
  static constexpr std::string_view kClassName = "Window";
  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The program class's declaration; its className keys the implicit instance.
  virtual const ClassDecl& Declaration() const = 0;
  std::string_view ClassName() const override;

  // Builds the window: registers it as its class's implicit instance, then delivers Layout,
  // CreateControls and AddMenuHandlers (those the class implements), then shows it when its
  // Visible property is true, which delivers Open and Activate.
  void Constructor();
  void Show();
  // Hides the window; it stays, with its controls, and can be shown again.
  void Hide();
  bool IsVisible() const;
  void Refresh(bool immediately);

  // Allocates an object inside the window: a control of this window, or any other object.
  template <class T>
  Ref<T> New() {
    if constexpr (std::is_constructible_v<T, Window*>) {
      return RuntimeNewObject<T>(this);
    } else {
      return RuntimeNewObject<T>();
    }
  }
  // Registers a control (or timer) under its name; the window keeps it.
  void AddControl(std::string_view name, const Ref<Object>& control);
  // The control of that name, or nil.
  Ref<Object> ControlByName(std::string_view name) const;
  // Registers the handler that runs when the menu item of that name is chosen.
  void AddMenuHandler(std::string_view itemName, const Delegate& handler);

  // Window events; the defaults do nothing.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers(Ref<Window> w) { (void)w; }
  virtual void Event_Open() {}
  virtual void Event_Close() {}
  // A request to close the window; true keeps it open.
  virtual bool Event_CancelClose(bool appQuitting) { (void)appQuitting; return false; }
  virtual void Event_Activate() {}
  virtual void Event_EnableMenuItems() {}
  virtual bool Event_KeyDown(const std::string& key) { (void)key; return false; }
  virtual bool Event_MouseDown(std::int64_t x, std::int64_t y) { (void)x; (void)y; return false; }

  const PropertySchema& Schema() const override;
  void SetProperty(std::string_view name, const PropertyValue& value) override;
  PropertyValue Property(std::string_view name) const override;

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// The implicit instance of the class of that name, or nil when none has been built.
Ref<Window> GetImplicitWindow(std::string_view className);

}  // namespace fw
