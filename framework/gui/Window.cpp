#include "framework/gui/Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "framework/core/Exceptions.h"
#include "framework/gui/Menus.h"
#include "framework/gui/WindowImpl.h"

namespace fw {

using detail::AtBoundary;
using detail::FromUtf8;
using detail::Implements;
using detail::R;

namespace detail {

void FillMenuBar(QMenuBar* qbar, MenuItem& bar, Window* window);

namespace {

// The window as the desktop sees it: the menu bar above the client area.
class TopLevel : public QWidget {
 public:
  explicit TopLevel(Window* owner) : owner_(owner) {}
  Window* owner() const { return owner_; }
  void detach() { owner_ = nullptr; }

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowActivate && owner_) {
      R().lastActiveWindow = this;
      Window* w = owner_;
      const bool back = R().returningFromMessage == this;
      if (back) R().returningFromMessage = nullptr;
      if (!back && Implements(*w, "Activate")) AtBoundary([w] { w->Event_Activate(); });
    }
    return QWidget::event(e);
  }

  // A modal window blocks the others; minimised alone it would leave them on screen and deaf.
  // So it takes them down with it, and comes back with the first of them to come back.
  void changeEvent(QEvent* e) override {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || !owner_) return;
    const bool minimised = isMinimized();
    const bool wasMinimised = static_cast<QWindowStateChangeEvent*>(e)->oldState() & Qt::WindowMinimized;
    if (minimised == wasMinimised) return;
    if (windowModality() != Qt::NonModal) {
      for (QWidget* other : OtherWindows()) {
        if (minimised && !other->isMinimized()) {
          other->showMinimized();
          takenDown_.push_back(other);
        } else if (!minimised && takenDown_.contains(other) && other->isMinimized()) {
          other->showNormal();
        }
      }
      if (!minimised) {
        takenDown_.clear();
        raise();
        activateWindow();
      }
    } else if (!minimised) {
      for (QWidget* other : OtherWindows()) {
        if (other->windowModality() != Qt::NonModal && other->isMinimized()) other->showNormal();
      }
    }
  }

  void closeEvent(QCloseEvent* e) override {
    Window* w = owner_;
    if (w && Implements(*w, "CancelClose")) {
      bool keep = false;
      AtBoundary([&] { keep = w->Event_CancelClose(false); });
      if (keep) return e->ignore();
    }
    e->accept();
    if (w && Implements(*w, "Close")) AtBoundary([w] { w->Event_Close(); });
  }

  // Keys that no control took.
  void keyPressEvent(QKeyEvent* e) override {
    Window* w = owner_;
    if (!w || IsModifierKey(*e)) return QWidget::keyPressEvent(e);
    if (Implements(*w, "KeyDown")) {
      bool swallowed = false;
      const std::string key = KeyText(*e);
      AtBoundary([&] { swallowed = w->Event_KeyDown(key); });
      if (swallowed) return e->accept();
    }
    const bool plain = e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier;
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (plain && (enter || e->key() == Qt::Key_Escape)) {
      if (Control::Impl* button = w->impl().SpecialButton(enter ? "Default" : "Cancel")) {
        e->accept();
        button->Fire("Action");
        return;
      }
    }
    e->ignore();
  }

 private:
  // The program's other windows on screen.
  QList<QWidget*> OtherWindows() const {
    QList<QWidget*> others;
    for (auto& [name, window] : R().windows) {
      QWidget* top = window ? window->impl().top.data() : nullptr;
      if (top && top != this && top->isVisible()) others.push_back(top);
    }
    return others;
  }

  Window* owner_;
  QList<QPointer<QWidget>> takenDown_;
};

class ClientArea : public QWidget {
 public:
  ClientArea(Window* owner, QWidget* parent) : QWidget(parent), owner_(owner) {}
  void detach() { owner_ = nullptr; }
  QSize sizeHint() const override { return size(); }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    Window* w = owner_;
    e->accept();
    // Presses of every mouse button, the right and the middle one too.
    if (!w || !Implements(*w, "MouseDown")) return;
    const QPoint p = e->position().toPoint();
    AtBoundary([&] { w->Event_MouseDown(p.x(), p.y()); });
  }

 private:
  Window* owner_;
};

}  // namespace

QPoint PlacedTopLeft(const QRect& available, const QSize& frame) {
  // Centred where it fits; where it does not, from the area's top or left edge, so that its
  // top-left corner and title bar can always be reached and the window moved.
  const auto place = [](int start, int room, int size) { return start + std::max(0, (room - size) / 2); };
  return {place(available.left(), available.width(), frame.width()),
          place(available.top(), available.height(), frame.height())};
}

QWidget* ClientOf(Window* window) { return window ? window->impl().client.data() : nullptr; }

void ControlsChanged(Window* window) {
  if (window) window->impl().UpdateTabOrder();
}

Window* WindowOfWidget(const QWidget* topLevel) {
  const auto* top = dynamic_cast<const TopLevel*>(topLevel);
  return top ? top->owner() : nullptr;
}

Window* ActiveWindow() {
  if (Window* w = WindowOfWidget(QApplication::activeWindow())) return w;
  if (QWidget* last = R().lastActiveWindow; last && last->isVisible()) return WindowOfWidget(last);
  return nullptr;
}

void RebuildMenuBars() {
  for (auto& [name, window] : R().windows) {
    if (window && window->impl().constructed) window->impl().BuildMenuBar();
  }
}

}  // namespace detail

// ---- Window::Impl --------------------------------------------------------------------------

Window::Impl::~Impl() {
  for (auto& [name, object] : controls) {
    if (auto* c = dynamic_cast<Control*>(object.Get()); c && c->impl().widget) {
      if (auto* link = dynamic_cast<detail::WidgetLink*>(c->impl().widget.data())) link->detach();
    }
  }
  if (auto* t = dynamic_cast<detail::TopLevel*>(top.data())) t->detach();
  if (auto* c = dynamic_cast<detail::ClientArea*>(client.data())) c->detach();
  controls.clear();
  delete top.data();
}

void Window::Impl::Apply(std::string_view n) {
  if (!top) return;
  if (n == "Width" || n == "Height" || n == "MinimumWidth" || n == "MinimumHeight" || n == "MaximumWidth" ||
      n == "MaximumHeight" || n == "Resizeable") {
    ApplySize();
    if (n == "Resizeable") ApplyFlags();
  } else if (n == "Title") {
    top->setWindowTitle(FromUtf8(props.Text(Schema(), "Title")));
  } else if (n == "HasCloseButton" || n == "HasMinimizeButton" || n == "HasMaximizeButton" || n == "Type") {
    ApplyFlags();
  } else if (n == "BackgroundColor" || n == "HasBackgroundColor") {
    ApplyBackground();
  } else if (n == "MenuBarVisible") {
    if (menuBar) {
      layout->setMenuBar(Bool("MenuBarVisible") ? menuBar.data() : nullptr);
      menuBar->setVisible(Bool("MenuBarVisible"));
    }
  } else if (n == "Visible") {
    if (constructed) Bool("Visible") ? self->Show() : self->Hide();
  }
}

void Window::Impl::ApplySize() {
  const int w = static_cast<int>(std::clamp<std::int64_t>(Int("Width"), 1, 32000));
  const int h = static_cast<int>(std::clamp<std::int64_t>(Int("Height"), 1, 32000));
  if (!Bool("Resizeable")) {
    // A window that cannot be resized takes its stated size, whatever its limits say.
    client->setMinimumSize(0, 0);
    client->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    client->setFixedSize(w, h);
    layout->setSizeConstraint(QLayout::SetFixedSize);
  } else {
    const int minW = static_cast<int>(std::clamp<std::int64_t>(Int("MinimumWidth"), 0, 32000));
    const int minH = static_cast<int>(std::clamp<std::int64_t>(Int("MinimumHeight"), 0, 32000));
    const int maxW = static_cast<int>(std::clamp<std::int64_t>(Int("MaximumWidth"), minW, QWIDGETSIZE_MAX));
    const int maxH = static_cast<int>(std::clamp<std::int64_t>(Int("MaximumHeight"), minH, QWIDGETSIZE_MAX));
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
    top->setMinimumSize(0, 0);
    top->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    client->setMinimumSize(minW, minH);
    client->setMaximumSize(maxW, maxH);
    client->resize(std::clamp(w, minW, maxW), std::clamp(h, minH, maxH));
    top->resize(client->width(), client->height() + (menuBar && menuBar->isVisible() ? menuBar->sizeHint().height() : 0));
  }
}

void Window::Impl::ApplyFlags() {
  const std::int64_t type = Int("Type");
  Qt::WindowFlags flags;
  switch (type) {
    case 1:
    case 2: flags = Qt::Dialog; break;  // movable modal, modal dialog
    case 3:
    case 7: flags = Qt::Tool; break;  // floating
    case 4:
    case 5:
    case 6: flags = Qt::Window | Qt::FramelessWindowHint; break;  // plain, shadowed and rounded boxes
    default: flags = Qt::Window; break;
  }
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (Bool("HasCloseButton")) flags |= Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint;
  if (Bool("HasMinimizeButton")) flags |= Qt::WindowMinimizeButtonHint;
  if (Bool("HasMaximizeButton") && Bool("Resizeable")) flags |= Qt::WindowMaximizeButtonHint;
  const Qt::WindowModality modality = (type == 1 || type == 2) ? Qt::ApplicationModal : Qt::NonModal;
  if (top->windowFlags() == flags && top->windowModality() == modality) return;
  const bool wasVisible = top->isVisible();
  if (wasVisible) top->hide();
  top->setWindowFlags(flags);
  top->setWindowModality(modality);
  if (wasVisible) top->show();
}

void Window::Impl::ApplyBackground() {
  if (Bool("HasBackgroundColor")) {
    QPalette p = client->palette();
    p.setColor(QPalette::Window, detail::ColourOf(props.Colour(Schema(), "BackgroundColor")));
    client->setPalette(p);
    client->setAutoFillBackground(true);
  } else {
    client->setPalette(QPalette());
    client->setAutoFillBackground(false);
  }
}

void Window::Impl::BuildMenuBar() {
  if (menuBar) {
    layout->setMenuBar(nullptr);
    delete menuBar.data();
  }
  const Ref<Application> app = R().appObject;
  if (!app || !app->MenuBar() || !top) return;
  menuBar = new QMenuBar(top);
  detail::FillMenuBar(menuBar, *app->MenuBar(), self);
  const bool visible = Bool("MenuBarVisible");
  layout->setMenuBar(visible ? menuBar.data() : nullptr);
  menuBar->setVisible(visible);
  ApplySize();
}

std::vector<Control::Impl*> Window::Impl::Controls() const {
  std::vector<Control::Impl*> out;
  for (const auto& [name, object] : controls) {
    if (auto* c = dynamic_cast<Control*>(object.Get()); c && c->impl().widget) out.push_back(&c->impl());
  }
  return out;
}

void Window::Impl::UpdateTabOrder() {
  std::vector<Control::Impl*> chain;
  for (Control::Impl* c : Controls()) {
    if (c->constructed && c->widget->focusPolicy() != Qt::NoFocus) chain.push_back(c);
  }
  std::stable_sort(chain.begin(), chain.end(),
                   [](Control::Impl* a, Control::Impl* b) { return a->Int("TabIndex") < b->Int("TabIndex"); });
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1]->widget, chain[i]->widget);
  // Only the first default button looks like one, and only it answers Return.
  const Control::Impl* defaultButton = SpecialButton("Default");
  for (Control::Impl* c : Controls()) {
    if (auto* b = qobject_cast<QPushButton*>(c->widget.data())) b->setDefault(c == defaultButton);
  }
}

Control::Impl* Window::Impl::SpecialButton(std::string_view property) const {
  for (Control::Impl* c : Controls()) {
    if (c->kind == detail::ControlKind::PushButton && c->constructed && c->Bool(property) && c->Bool("Visible") &&
        c->Bool("Enabled")) {
      return c;
    }
  }
  return nullptr;
}

const Delegate* Window::Impl::MenuHandler(std::string_view itemName) const {
  for (const auto& [name, handler] : menuHandlers) {
    if (name == itemName) return &handler;
  }
  return nullptr;
}

void Window::Impl::DeliverOpen() {
  for (Control::Impl* c : Controls()) c->Fire("Open");
  if (Implements(*self, "Open")) self->Event_Open();
}

// ---- Window --------------------------------------------------------------------------------

Window::Window() : impl_(std::make_unique<Impl>()) {
  if (!QApplication::instance()) throw RuntimeException("a window needs the application (RuntimeInit) first");
  Impl& w = *impl_;
  w.self = this;
  auto* top = new detail::TopLevel(this);
  w.top = top;
  w.layout = new QVBoxLayout(top);
  w.layout->setContentsMargins(0, 0, 0, 0);
  w.layout->setSpacing(0);
  w.client = new detail::ClientArea(this, top);
  w.layout->addWidget(w.client);
  auto set = [&w](std::string_view name, PropertyValue v) {
    const PropertyDecl* decl = detail::FindDecl(w.Schema(), name);
    v.type = decl->type;
    w.props.Set(*decl, v);
  };
  PropertyValue v;
  v.integer = 600;
  set("Width", v);
  v.integer = 400;
  set("Height", v);
  v.text = "Untitled";
  set("Title", v);
  for (const PropertyDecl& decl : w.Schema()) w.Apply(decl.name);
}

Window::~Window() = default;

std::string_view Window::ClassName() const { return Declaration().className; }

void Window::Constructor() {
  Impl& w = *impl_;
  if (w.constructed) return;
  const std::string key = Declaration().className;
  Ref<Window> self(std::dynamic_pointer_cast<Window>(weak_from_this().lock()));
  auto& windows = R().windows;
  bool registered = false;
  if (self && GetImplicitWindow(key).IsNil()) {
    windows.emplace_back(key, self);
    registered = true;
  }
  try {
    if (Implements(*this, "Layout")) Layout();
    if (Implements(*this, "CreateControls")) CreateControls();
    if (Implements(*this, "AddMenuHandlers")) AddMenuHandlers(self);
  } catch (...) {
    // A window that failed to build is no instance of its class.
    if (registered) {
      windows.erase(std::remove_if(windows.begin(), windows.end(),
                                   [this](const auto& entry) { return entry.second.Get() == this; }),
                    windows.end());
    }
    throw;
  }
  w.constructed = true;
  w.BuildMenuBar();
  w.UpdateTabOrder();
  if (w.Bool("Visible")) Show();
}

void Window::Show() {
  Impl& w = *impl_;
  if (!w.top) return;
  if (!w.opened) {
    w.opened = true;
    w.DeliverOpen();
  }
  if (!w.placed) {
    w.placed = true;
    w.top->adjustSize();
    if (QScreen* screen = w.top->screen() ? w.top->screen() : QGuiApplication::primaryScreen()) {
      w.top->move(detail::PlacedTopLeft(screen->availableGeometry(), w.top->frameGeometry().size()));
    }
  }
  w.top->show();
  w.top->raise();
  w.top->activateWindow();
}

void Window::Hide() {
  if (impl_->top) impl_->top->hide();
}

bool Window::IsVisible() const { return impl_->top && impl_->top->isVisible(); }

void Window::Refresh(bool immediately) {
  QWidget* top = impl_->top;
  if (!top) return;
  top->update();
  for (QWidget* child : top->findChildren<QWidget*>()) child->update();
  if (immediately && top->isVisible()) top->repaint();
}

void Window::AddControl(std::string_view name, const Ref<Object>& control) {
  if (control.IsNil()) throw NilObjectException("no control was given for " + std::string(name));
  if (!ControlByName(name).IsNil()) {
    throw InvalidArgumentException("the window already has a control named " + std::string(name));
  }
  impl_->controls.emplace_back(std::string(name), control);
  if (auto* c = dynamic_cast<Control*>(control.Get())) {
    c->impl().name = std::string(name);
    PropertyValue v;
    v.type = PropertyType::Text;
    v.text = std::string(name);
    c->impl().props.Set(*detail::FindDecl(c->impl().Schema(), "Name"), v);
  }
  impl_->UpdateTabOrder();
}

Ref<Object> Window::ControlByName(std::string_view name) const {
  for (const auto& [n, control] : impl_->controls) {
    if (n == name) return control;
  }
  return {};
}

void Window::AddMenuHandler(std::string_view itemName, const Delegate& handler) {
  for (auto& [name, existing] : impl_->menuHandlers) {
    if (name == itemName) {
      existing = handler;
      return;
    }
  }
  impl_->menuHandlers.emplace_back(std::string(itemName), handler);
}

const PropertySchema& Window::Schema() const { return impl_->Schema(); }

void Window::SetProperty(std::string_view name, const PropertyValue& value) {
  const PropertyDecl& decl = detail::CheckedDecl(impl_->Schema(), "Window", name, value);
  impl_->props.Set(decl, value);
  impl_->Apply(decl.name);
}

PropertyValue Window::Property(std::string_view name) const { return impl_->Get(name); }

Ref<Window> GetImplicitWindow(std::string_view className) {
  for (const auto& [name, window] : R().windows) {
    if (name == className) return window;
  }
  return {};
}

}  // namespace fw
