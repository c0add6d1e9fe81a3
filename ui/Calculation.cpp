// One calculation: the four input checks, the run of the engine under the busy wheel, and the
// report.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "framework/core/BackgroundTask.h"
#include "framework/core/Text.h"
#include "framework/gui/Dialogs.h"
#include "stats/StatsModule.h"
#include "stats/VarsModule.h"
#include "ui/Calculation.h"
#include "ui/ControlWnd.h"
#include "ui/EigenvalueReport.h"

namespace {

std::int64_t ReadField(const fw::Ref<fw::TextField>& field) { return FieldValue(field->Text()); }

std::string RangeMessage(std::int64_t min, std::int64_t max, const char* what) {
  return "Enter " + fw::Str(min) + "\u2013" + fw::Str(max) + " for number of " + what;
}

}  // namespace

std::int64_t FieldValue(std::string_view text) {
  const double value = fw::Val(text);
  if (std::isnan(value) || value < -0x1p63 || value >= 0x1p63) {
    return std::numeric_limits<std::int64_t>::min();
  }
  return static_cast<std::int64_t>(value);
}

void ControlWnd::CalculateBtn_Action(fw::Ref<fw::PushButton>) {
  using namespace VarsModule;

  // A failed check beeps, focuses its field, shows its message and, once the message has been
  // closed, hides the wheel that the press showed.
  const auto fail = [this](const fw::Ref<fw::TextField>& field, const std::string& message) {
    fw::Beep();
    field->SetFocus();
    fw::MessageDialog::Show(message);
    Pwheel()->Visible(false);
  };

  const std::int64_t v = ReadField(VarFld());
  if (v < VarMin || v > VarMax) return fail(VarFld(), RangeMessage(VarMin, VarMax, "variables"));
  vars = v;

  const std::int64_t s = ReadField(SubFld());
  if (s < SubMin || s > SubMax) return fail(SubFld(), RangeMessage(SubMin, SubMax, "subjects"));
  subs = s;

  if (subs <= vars) return fail(VarFld(), "Subjects must > variables");

  const std::int64_t n = ReadField(RepFld());
  if (n < RepMin || n > RepMax) {
    return fail(RepFld(), RangeMessage(RepMin, RepMax, "replications"));
  }
  reps = n;

  DataFld()->Text("");
  fw::Ref<fw::Date> start = New<fw::Date>();
  start->Constructor();
  const std::string startDate = start->ShortDate();
  const std::string startTime = start->LongTime();

  SumStats->Resize(-1, -1);
  SumStats->Resize(static_cast<std::int32_t>(vars), kSumStatsColumns);
  Pwheel()->Visible(true);
  for (std::int64_t j = 1; j <= reps; ++j) {
    StatsModule::RanNumbers();
    StatsModule::CorrMatrix();
    StatsModule::EigenvaluesCalc();
    fw::RuntimeBackgroundTask();
  }
  StatsModule::SummaryStats();
  EigenvalueReport::Write(*this, startDate, startTime);
  Pwheel()->Visible(false);
}
