// The help button, Clear, Quit, closing the window and the About item.

#include "framework/gui/Application.h"
#include "framework/gui/Events.h"
#include "framework/gui/Menus.h"
#include "ui/ControlWnd.h"
#include "ui/SplashWnd.h"

// The holder's text is read at every press, so a press also undoes the user's edits to the help
// text shown in the report area.
bool ControlWnd::Qbtn_MouseDown(fw::Ref<fw::PushButton>, std::int64_t, std::int64_t) {
  fw::Ref<fw::TextArea> report = DataFld();
  fw::Ref<fw::TextArea> holder = disclaimFld();
  report->Text(holder->Text());
  return false;
}

// Empties the report area and the three fields only. The busy wheel keeps its visibility, and
// vars, subs, reps and SumStats keep what the last Calculate stored in them, even one stopped by
// a failed check, until the next calculation overwrites them.
void ControlWnd::ClearBtn_Action(fw::Ref<fw::PushButton>) {
  DataFld()->Text("");
  SubFld()->Text("");
  VarFld()->Text("");
  RepFld()->Text("");
  VarFld()->SetFocus();
  disclaimFld()->Visible(false);
}

void ControlWnd::QuitBtn_Action(fw::Ref<fw::PushButton>) { fw::Quit(0); }

void ControlWnd::Event_Close() { fw::Quit(0); }

void ControlWnd::AddMenuHandlers(fw::Ref<fw::Window> w) {
  fw::Ref<class ControlWnd> target = fw::RuntimeCheckCast<class ControlWnd>(w);
  AddMenuHandler("AboutTessivar",
                 fw::RuntimeCreateDelegate(&ControlWnd::AboutTessivar_Action, &target.Deref(),
                                           "(  ) as Boolean", 1));
}

// The About item does not enable itself. It lies two levels down the application's menu bar; the
// lookup searches the whole tree.
void ControlWnd::Event_EnableMenuItems() {
  fw::Ref<fw::MenuBar> bar = fw::GetAppObject()->MenuBar();
  fw::RuntimeCheckCast<fw::AppleMenuItem>(bar->Lookup("AboutTessivar"))->Enabled(true);
}

bool ControlWnd::AboutTessivar_Action() {
  SplashWnd()->Show();
  return false;
}
