#include "framework/gui/Dialogs.h"

#include <QDateTime>
#include <QLocale>

#include "framework/gui/Platform.h"
#include "framework/gui/Runtime.h"

namespace fw {

using detail::R;

void MessageDialog::Show(std::string_view message) {
  if (R().quitPending) return;
  detail::ShowMessageBox(std::string(message));
  // Closing the main window while the box was open ends the program: unwind what called us.
  detail::UnwindIfQuitting();
}

void Beep() { Platform().Beep(); }

namespace {

std::int64_t Now() {
  const auto now = Platform().Now();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
}

QDateTime Local(std::int64_t msecs) { return QDateTime::fromMSecsSinceEpoch(msecs).toLocalTime(); }

}  // namespace

Date::Date() : msecsSinceEpoch_(Now()) {}

void Date::Constructor() { msecsSinceEpoch_ = Now(); }

std::string Date::ShortDate() const {
  return detail::ToUtf8(QLocale::system().toString(Local(msecsSinceEpoch_).date(), QLocale::ShortFormat));
}

std::string Date::LongTime() const {
  return detail::ToUtf8(QLocale::system().toString(Local(msecsSinceEpoch_).time(), QLocale::LongFormat));
}

}  // namespace fw
