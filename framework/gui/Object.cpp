#include "framework/gui/Object.h"

#include "framework/core/Exceptions.h"
#include "framework/gui/Runtime.h"

namespace fw {

using detail::R;

const PropertySchema& Object::Schema() const {
  static const PropertySchema none;
  return none;
}

void Object::SetProperty(std::string_view name, const PropertyValue&) {
  throw InvalidArgumentException("class " + std::string(ClassName()) + " has no property " + std::string(name));
}

PropertyValue Object::Property(std::string_view name) const {
  throw InvalidArgumentException("class " + std::string(ClassName()) + " has no property " + std::string(name));
}

void RuntimeRegisterClass(const ClassDecl& decl) {
  for (const ClassDecl*& known : R().classes) {
    if (known->className == decl.className) {
      known = &decl;
      return;
    }
  }
  R().classes.push_back(&decl);
}

const ClassDecl* RuntimeFindClass(std::string_view className) {
  for (const ClassDecl* known : R().classes) {
    if (known->className == className) return known;
  }
  return nullptr;
}

namespace {

// Follows the declared bases that are program classes too; the framework's own classes
// (Window, Application) implement no events themselves.
bool DeclaresEvent(const ClassDecl& decl, std::string_view eventName, int depth) {
  for (const std::string& e : decl.events) {
    if (e == eventName) return true;
  }
  if (depth > 32 || decl.baseClass.empty()) return false;
  const ClassDecl* base = RuntimeFindClass(decl.baseClass);
  return base && base != &decl && DeclaresEvent(*base, eventName, depth + 1);
}

}  // namespace

bool RuntimeIsEventHandled(const Object& receiver, std::string_view className, std::string_view eventName,
                           bool flag) {
  (void)flag;
  if (const ClassDecl* decl = RuntimeFindClass(className)) return DeclaresEvent(*decl, eventName, 0);
  // A class not registered (yet) answers from its own declaration.
  if (const auto* w = dynamic_cast<const Window*>(&receiver); w && w->Declaration().className == className) {
    return DeclaresEvent(w->Declaration(), eventName, 0);
  }
  if (const auto* a = dynamic_cast<const Application*>(&receiver); a && a->Declaration().className == className) {
    return DeclaresEvent(a->Declaration(), eventName, 0);
  }
  return false;
}

namespace detail {

bool Implements(const Window& window, std::string_view eventName) {
  return RuntimeIsEventHandled(window, window.Declaration().className, eventName, true);
}

}  // namespace detail

void RuntimePerformInitializers(const std::vector<std::function<void()>>& initializers) {
  // A failing initialiser is reported like any other failure; the ones after it do not run.
  detail::AtBoundary([&initializers] {
    for (const auto& init : initializers) {
      if (init) init();
    }
  });
}

void RuntimePerformFinalizers() {}

void SetProperties(Object& target, const PropertyString& list) {
  // Decoding first: a malformed list raises before any property changes.
  const auto entries = DecodePropertyList(list, target.Schema());
  for (const auto& [name, value] : entries) target.SetProperty(name, value);
}

}  // namespace fw
