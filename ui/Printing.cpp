// Printing the report area: one block of its text per page, until the text is used up.

#include "framework/core/BackgroundTask.h"
#include "framework/core/Text.h"
#include "framework/gui/Dialogs.h"
#include "ui/ControlWnd.h"

namespace {

constexpr std::int64_t kPrintWidth = 540;
constexpr std::int64_t kBlockHeight = 720;

}  // namespace

void ControlWnd::PrintBtn_Action(fw::Ref<fw::PushButton>) {
  if (fw::Len(DataFld()->Text()) == 0) {
    fw::Beep();
    fw::MessageDialog::Show("Nothing to print.");
    return;
  }
  fw::Ref<fw::Graphics> page = fw::PrinterSetup::ShowPrinterDialog();
  if (page.IsNil()) return;

  fw::Ref<fw::StyledTextPrinter> printer = DataFld()->styledTextPrinter(page, kPrintWidth);
  // EOF is tested again right after each block, so the last block leaves no empty page.
  while (!printer->EOFReached()) {
    printer->DrawBlock(0, 0, kBlockHeight);
    if (!printer->EOFReached()) page->NextPage();
    fw::RuntimeBackgroundTask();
  }
}
