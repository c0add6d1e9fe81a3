#pragma once
// Menus and menu items, found by name. The application's menu bar is shown on its windows.
// Items with empty text are not shown; the text "-" is a separator; CommandKey texts such as
// "Ctrl+Q" become key bindings. Before a menu opens and before a shortcut acts, items without
// AutoEnable are disabled and the active window's EnableMenuItems may enable them. The items
// named EditUndo, EditCut, EditCopy, EditPaste and EditClear act on the focused text control.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/gui/Object.h"

namespace fw {

class MenuItem : public Object {
 public:
  static constexpr std::string_view kClassName = "MenuItem";
  MenuItem();
  ~MenuItem() override;
  std::string_view ClassName() const override { return kClassName; }
  void Constructor();

  const std::string& Name() const;
  void Name(std::string_view name);
  const std::string& Text() const;
  void Text(std::string_view text);
  const std::string& CommandKey() const;
  void CommandKey(std::string_view key);
  bool CommandKeyIsSet() const;
  bool AutoEnable() const;
  void AutoEnable(bool on);
  bool Visible() const;
  void Visible(bool on);
  bool Enabled() const;
  void Enabled(bool on);

  // Appends the item as the last child.
  void AddMenu(const Ref<MenuItem>& item);
  // The direct child of that name, or nil.
  Ref<MenuItem> Child(std::string_view name) const;
  // The item of that name at any depth below this one, or nil.
  Ref<MenuItem> Lookup(std::string_view name) const;
  std::int64_t Count() const;
  Ref<MenuItem> Item(std::int64_t index) const;

  // What choosing the item does besides the window's menu handler (the quit item quits).
  virtual void Action();

  struct Impl;
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// Quits the application by itself.
class QuitMenuItem : public MenuItem {
 public:
  static constexpr std::string_view kClassName = "QuitMenuItem";
  std::string_view ClassName() const override { return kClassName; }
  void Action() override;
};

class AppleMenuItem : public MenuItem {
 public:
  static constexpr std::string_view kClassName = "AppleMenuItem";
  std::string_view ClassName() const override { return kClassName; }
};

class MenuBar : public MenuItem {
 public:
  static constexpr std::string_view kClassName = "MenuBar";
  std::string_view ClassName() const override { return kClassName; }
};

}  // namespace fw
