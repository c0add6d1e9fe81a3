#include "app/App.h"

#include <string>

#include "app/Accessors.h"
#include "framework/gui/Object.h"

namespace {

const fw::ClassDecl& AppDeclaration() {
  static const fw::ClassDecl decl{
      std::string(App::kClassName),
      std::string(fw::Application::kClassName),
      {{"Constructor", "(  )", {}}},
      {{"IsEventImplemented", "( String ) as Boolean", {}}},
      {},
  };
  return decl;
}

}  // namespace

void RegisterAppClass() { fw::RuntimeRegisterClass(AppDeclaration()); }

const fw::ClassDecl& App::Declaration() const { return AppDeclaration(); }

void App::Constructor() {}

bool App::IsEventImplemented(std::string_view eventName) const {
  return fw::RuntimeIsEventHandled(*this, kClassName, eventName, true);
}

fw::Ref<class App> App() { return fw::RuntimeCheckCast<class App>(fw::GetAppObject()); }

fw::Ref<fw::AppleMenuItem> AboutTessivar() {
  fw::Ref<fw::MenuBar> bar = App()->MenuBar();
  return fw::RuntimeCheckCast<fw::AppleMenuItem>(bar->Lookup("AboutTessivar"));
}
