#include "app/Menu.h"

#include <optional>
#include <string>

#include "framework/gui/Object.h"

namespace {

fw::Ref<class Menu> implicitInstance;

const fw::ClassDecl& MenuDeclaration() {
  static const fw::ClassDecl decl{
      std::string(Menu::kClassName),
      std::string(fw::MenuBar::kClassName),
      {
          {"Constructor", "(  )", {}},
          {"Untitled0", "(  )", {}},
          {"Untitled1", "(  )", {}},
          {"Untitled2", "(  )", {}},
          {"Untitled3", "(  )", {}},
      },
      {},
      {},
  };
  return decl;
}

// One menu or item, its properties set in the fixed order. Every one is visible; only the
// separator leaves its shortcut unset (no commandKey).
template <class Item>
fw::Ref<fw::MenuItem> NewItem(std::string_view name, bool autoEnable, std::string_view text,
                              std::optional<std::string_view> commandKey) {
  fw::Ref<Item> item = fw::RuntimeNewObject<Item>();
  item->Constructor();
  item->Name(name);
  item->AutoEnable(autoEnable);
  item->Text(text);
  item->Visible(true);
  if (commandKey) item->CommandKey(*commandKey);
  return item;
}

}  // namespace

fw::Ref<class Menu> Menu() {
  if (implicitInstance.IsNil()) {
    fw::Ref<class Menu> bar = fw::RuntimeNewObject<class Menu>();
    bar->Constructor();
    // Stored only once it is complete: a failed build leaves no half-built bar behind.
    implicitInstance = bar;
  }
  return implicitInstance;
}

void RegisterMenuClass() {
  fw::RuntimeRegisterClass(MenuDeclaration());
  implicitInstance = nullptr;
}

void Menu::Constructor() {
  fw::MenuBar::Constructor();
  Untitled0();
  Untitled1();
  Untitled2();
  Untitled3();
}

void Menu::Untitled0() { AddMenu(NewItem<fw::MenuItem>("UntitledMenu3", false, "", "")); }

void Menu::Untitled1() {
  AddMenu(NewItem<fw::MenuItem>("UntitledMenu2", false, "File", ""));
  Child("UntitledMenu2")->AddMenu(NewItem<fw::QuitMenuItem>("FileQuit", true, "Quit", "Ctrl+Q"));
  Child("UntitledMenu2")->AddMenu(NewItem<fw::MenuItem>("UntitledMenu7", false, "", ""));
}

void Menu::Untitled2() {
  AddMenu(NewItem<fw::MenuItem>("UntitledMenu0", false, "Edit", ""));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("EditUndo", false, "Undo", "Ctrl+Z"));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("UntitledMenu1", false, "-", std::nullopt));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("EditCut", false, "Cut", "Ctrl+X"));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("EditCopy", false, "Copy", "Ctrl+C"));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("EditPaste", false, "Paste", "Ctrl+V"));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("EditClear", false, "Clear", ""));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::MenuItem>("UntitledMenu6", false, "", ""));
  Child("UntitledMenu0")->AddMenu(
      NewItem<fw::AppleMenuItem>("AboutTessivar", false, "About Tessivar", ""));
  Child("UntitledMenu0")->AddMenu(NewItem<fw::AppleMenuItem>("UntitledMenu5", false, "", ""));
}

void Menu::Untitled3() { AddMenu(NewItem<fw::MenuItem>("UntitledMenu4", false, "", "")); }
