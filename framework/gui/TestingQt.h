#pragma once
// Test access to the Qt widgets behind the framework's objects. Tests only: the program never
// sees Qt.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <memory>

#include "framework/gui/Dialogs.h"
#include "framework/gui/Menus.h"
#include "framework/gui/Testing.h"
#include "framework/gui/Window.h"

class QAction;
class QMenuBar;
class QPrinter;
class QWidget;

namespace fw::detail {
QAction* ActionOf(MenuItem& item);
Ref<Graphics> PageOn(std::unique_ptr<QPrinter> printer);
}

namespace fw::testing {

// The widget that shows the control; null for a timer or a control whose window is gone.
QWidget* WidgetOf(const Ref<Object>& control);
// The window's top-level widget, its client area (the parent of the controls) and its menu bar.
QWidget* TopLevelOf(const Window& window);
QWidget* ClientOf(const Window& window);
QMenuBar* MenuBarOf(const Window& window);
// The action that shows the menu item in the windows' menu bars.
QAction* ActionOf(const Ref<MenuItem>& item);
// A page on a printer set up as the print dialog would leave it (copies, page range).
Ref<Graphics> PageOn(std::unique_ptr<QPrinter> printer);
// Where a window of that frame size is placed on a screen's available area.
QPoint PlacedTopLeft(const QRect& available, const QSize& frame);
// Whether Quit (or a failure report) has asked the program to end.
bool QuitPending();

}  // namespace fw::testing
