#include "framework/gui/Menus.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "framework/core/Exceptions.h"
#include "framework/gui/WindowImpl.h"

namespace fw {

using detail::FromUtf8;
using detail::R;

struct MenuItem::Impl {
  MenuItem* self = nullptr;
  std::string name, text, commandKey;
  bool commandKeyIsSet = false;
  bool autoEnable = false;
  bool visible = true;
  bool enabled = true;
  QKeySequence shortcut;
  std::vector<Ref<MenuItem>> children;
  QPointer<QAction> action;  // made when a window first shows the item

  ~Impl() { delete action.data(); }
  bool Shown() const { return visible && !text.empty(); }
  QAction* Action();
  void Update();
};

namespace detail {
namespace {

enum class EditOp { None, Undo, Cut, Copy, Paste, Clear };

EditOp EditOpOf(std::string_view name) {
  if (name == "EditUndo") return EditOp::Undo;
  if (name == "EditCut") return EditOp::Cut;
  if (name == "EditCopy") return EditOp::Copy;
  if (name == "EditPaste") return EditOp::Paste;
  if (name == "EditClear") return EditOp::Clear;
  return EditOp::None;
}

bool ClipboardHasText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard && !clipboard->text().isEmpty();
}

// Whether the edit item can act on the focused text control.
bool CanEdit(EditOp op) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* field = qobject_cast<QLineEdit*>(focus)) {
    const bool open = field->echoMode() == QLineEdit::Normal;
    switch (op) {
      case EditOp::Undo: return field->isUndoAvailable() && !field->isReadOnly();
      case EditOp::Cut:
      case EditOp::Clear: return field->hasSelectedText() && !field->isReadOnly() && (open || op == EditOp::Clear);
      case EditOp::Copy: return field->hasSelectedText() && open;
      case EditOp::Paste: return !field->isReadOnly() && ClipboardHasText();
      case EditOp::None: return false;
    }
  }
  if (auto* area = qobject_cast<QPlainTextEdit*>(focus)) {
    const bool selection = area->textCursor().hasSelection();
    switch (op) {
      case EditOp::Undo: return area->document()->isUndoAvailable() && !area->isReadOnly();
      case EditOp::Cut:
      case EditOp::Clear: return selection && !area->isReadOnly();
      case EditOp::Copy: return selection;
      case EditOp::Paste: return !area->isReadOnly() && area->canPaste();
      case EditOp::None: return false;
    }
  }
  return false;
}

void DoEdit(EditOp op) {
  if (!CanEdit(op)) return;
  QWidget* focus = QApplication::focusWidget();
  if (auto* field = qobject_cast<QLineEdit*>(focus)) {
    switch (op) {
      case EditOp::Undo: field->undo(); break;
      case EditOp::Cut: field->cut(); break;
      case EditOp::Copy: field->copy(); break;
      case EditOp::Paste: field->paste(); break;
      case EditOp::Clear: field->del(); break;
      case EditOp::None: break;
    }
  } else if (auto* area = qobject_cast<QPlainTextEdit*>(focus)) {
    switch (op) {
      case EditOp::Undo: area->undo(); break;
      case EditOp::Cut: area->cut(); break;
      case EditOp::Copy: area->copy(); break;
      case EditOp::Paste: area->paste(); break;
      case EditOp::Clear: area->textCursor().removeSelectedText(); break;
      case EditOp::None: break;
    }
  }
}

template <class F>
void ForEachItem(MenuItem& item, const F& f) {
  for (std::int64_t i = 0; i < item.Count(); ++i) {
    MenuItem& child = *item.Item(i);
    f(child);
    ForEachItem(child, f);
  }
}

// What choosing an item does: the active window's handler for it, else the item's own action.
void Choose(MenuItem& item) {
  // While the program is busy, only quitting acts.
  if (R().droppingInput && !dynamic_cast<QuitMenuItem*>(&item)) return;
  Ref<MenuItem> keep(std::dynamic_pointer_cast<MenuItem>(item.weak_from_this().lock()));
  AtBoundary([&item] {
    if (Window* w = ActiveWindow()) {
      if (const Delegate* handler = w->impl().MenuHandler(item.Name())) {
        const Delegate copy = *handler;
        if (copy.Invoke(Ref<Object>(), {})) return;
      }
    }
    item.Action();
  });
}

// Before a shortcut acts, its item's enabled state must be up to date.
class ShortcutWatcher : public QObject {
 protected:
  bool eventFilter(QObject* target, QEvent* e) override {
    if (e->type() != QEvent::ShortcutOverride) return false;
    const Ref<Application> app = R().appObject;
    if (!app || !app->MenuBar()) return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    const QKeySequence pressed(key->keyCombination());
    bool bound = false;
    ForEachItem(*app->MenuBar(), [&](MenuItem& item) {
      bound = bound || (!item.impl().shortcut.isEmpty() && item.impl().shortcut == pressed);
    });
    if (bound) {
      auto* widget = qobject_cast<QWidget*>(target);
      UpdateMenus(widget ? WindowOfWidget(widget->window()) : nullptr);
    }
    return false;
  }
};

void WatchShortcuts() {
  static ShortcutWatcher* watcher = nullptr;
  if (watcher || !QApplication::instance()) return;
  watcher = new ShortcutWatcher;
  QApplication::instance()->installEventFilter(watcher);
}

void FillMenu(QMenu* menu, MenuItem& item, Window* window);

void AddItem(QWidget* container, MenuItem& child, Window* window) {
  if (child.Count() > 0) {
    auto* sub = new QMenu(FromUtf8(child.Text()).replace(QLatin1Char('&'), QLatin1String("&&")), container);
    sub->menuAction()->setVisible(child.impl().Shown());
    QObject::connect(sub, &QMenu::aboutToShow, sub, [window] { UpdateMenus(window); });
    FillMenu(sub, child, window);
    container->addAction(sub->menuAction());
  } else {
    container->addAction(child.impl().Action());
  }
}

void FillMenu(QMenu* menu, MenuItem& item, Window* window) {
  for (std::int64_t i = 0; i < item.Count(); ++i) AddItem(menu, *item.Item(i), window);
}

}  // namespace

void FillMenuBar(QMenuBar* qbar, MenuItem& bar, Window* window) {
  WatchShortcuts();
  for (std::int64_t i = 0; i < bar.Count(); ++i) AddItem(qbar, *bar.Item(i), window);
}

void UpdateMenus(Window* window) {
  const Ref<Application> app = R().appObject;
  if (!app || !app->MenuBar()) return;
  if (!window) window = ActiveWindow();
  ForEachItem(*app->MenuBar(), [](MenuItem& item) {
    if (item.Count() > 0) return;  // a menu stays usable; its items decide
    const EditOp op = EditOpOf(item.Name());
    item.Enabled(op != EditOp::None ? CanEdit(op) : item.AutoEnable());
  });
  if (window && Implements(*window, "EnableMenuItems")) AtBoundary([window] { window->Event_EnableMenuItems(); });
}

QAction* ActionOf(MenuItem& item) { return item.impl().Action(); }

}  // namespace detail

QAction* MenuItem::Impl::Action() {
  if (!action) {
    action = new QAction;
    QObject::connect(action, &QAction::triggered, action, [this] { detail::Choose(*self); });
    Update();
  }
  return action;
}

void MenuItem::Impl::Update() {
  if (!action) return;
  const bool separator = text == "-";
  action->setSeparator(separator);
  // Styles draw a separator's text beside its line.
  action->setText(separator ? QString() : FromUtf8(text).replace(QLatin1Char('&'), QLatin1String("&&")));
  action->setShortcut(shortcut);
  action->setEnabled(enabled);
  action->setVisible(Shown());
}

MenuItem::MenuItem() : impl_(std::make_unique<Impl>()) { impl_->self = this; }
MenuItem::~MenuItem() = default;
void MenuItem::Constructor() {}

const std::string& MenuItem::Name() const { return impl_->name; }
void MenuItem::Name(std::string_view name) { impl_->name = name; }
const std::string& MenuItem::Text() const { return impl_->text; }

void MenuItem::Text(std::string_view text) {
  impl_->text = text;
  impl_->Update();
  if (Count() > 0) detail::RebuildMenuBars();
}

const std::string& MenuItem::CommandKey() const { return impl_->commandKey; }

void MenuItem::CommandKey(std::string_view key) {
  impl_->commandKey = key;
  impl_->commandKeyIsSet = true;
  QString text = FromUtf8(key).trimmed();
  // A bare letter means that letter with the command (Ctrl) key.
  if (text.size() == 1) text = QStringLiteral("Ctrl+") + text.toUpper();
  impl_->shortcut = text.isEmpty() ? QKeySequence() : QKeySequence::fromString(text, QKeySequence::PortableText);
  impl_->Update();
}

bool MenuItem::CommandKeyIsSet() const { return impl_->commandKeyIsSet; }
bool MenuItem::AutoEnable() const { return impl_->autoEnable; }
void MenuItem::AutoEnable(bool on) { impl_->autoEnable = on; }
bool MenuItem::Visible() const { return impl_->visible; }

void MenuItem::Visible(bool on) {
  impl_->visible = on;
  impl_->Update();
  if (Count() > 0) detail::RebuildMenuBars();
}

bool MenuItem::Enabled() const { return impl_->enabled; }

void MenuItem::Enabled(bool on) {
  impl_->enabled = on;
  impl_->Update();
}

void MenuItem::AddMenu(const Ref<MenuItem>& item) {
  if (item.IsNil()) throw NilObjectException("AddMenu was given no menu item");
  impl_->children.push_back(item);
  detail::RebuildMenuBars();
}

Ref<MenuItem> MenuItem::Child(std::string_view name) const {
  for (const auto& child : impl_->children) {
    if (child->Name() == name) return child;
  }
  return {};
}

Ref<MenuItem> MenuItem::Lookup(std::string_view name) const {
  for (const auto& child : impl_->children) {
    if (child->Name() == name) return child;
    if (Ref<MenuItem> found = child->Lookup(name)) return found;
  }
  return {};
}

std::int64_t MenuItem::Count() const { return static_cast<std::int64_t>(impl_->children.size()); }

Ref<MenuItem> MenuItem::Item(std::int64_t index) const {
  if (index < 0 || index >= Count()) {
    throw OutOfBoundsException("menu item index " + std::to_string(index) + " is out of bounds");
  }
  return impl_->children[static_cast<std::size_t>(index)];
}

void MenuItem::Action() { detail::DoEdit(detail::EditOpOf(Name())); }

void QuitMenuItem::Action() { Quit(0); }

}  // namespace fw
