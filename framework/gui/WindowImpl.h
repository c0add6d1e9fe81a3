#pragma once
// Inside a window: its Qt widgets, controls, menu handlers and properties. Only framework/gui
// includes this.

#include <QPointer>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

#include "framework/gui/ControlImpl.h"
#include "framework/gui/Window.h"

class QMenuBar;
class QVBoxLayout;

namespace fw {

struct Window::Impl {
  Window* self = nullptr;
  QPointer<QWidget> top;     // the top-level widget: menu bar above the client area
  QPointer<QWidget> client;  // the client area, Width x Height points, parent of the controls
  QPointer<QMenuBar> menuBar;
  QVBoxLayout* layout = nullptr;
  std::vector<std::pair<std::string, Ref<Object>>> controls;
  std::vector<std::pair<std::string, Delegate>> menuHandlers;
  detail::PropertyStore props;
  bool constructed = false;
  bool opened = false;
  bool placed = false;
  bool tabOrderDirty = true;

  ~Impl();
  const PropertySchema& Schema() const { return detail::WindowSchema(); }
  PropertyValue Get(std::string_view n) const { return props.Get(Schema(), n); }
  bool Bool(std::string_view n) const { return props.Bool(Schema(), n); }
  std::int64_t Int(std::string_view n) const { return props.Int(Schema(), n); }

  void Apply(std::string_view name);
  void ApplyFlags();
  void ApplySize();
  void ApplyBackground();
  void BuildMenuBar();
  void UpdateTabOrder();
  // The control widgets in creation order, with their state.
  std::vector<Control::Impl*> Controls() const;
  // The first enabled, visible push button with Default (or Cancel) set, in creation order.
  Control::Impl* SpecialButton(std::string_view property) const;
  const Delegate* MenuHandler(std::string_view itemName) const;
  void DeliverOpen();
};

namespace detail {
// Where a window of that frame size goes on a screen's available area.
QPoint PlacedTopLeft(const QRect& available, const QSize& frame);
QWidget* ClientOf(Window* window);
void ControlsChanged(Window* window);  // tab order or default buttons need a new look
}  // namespace detail

}  // namespace fw
