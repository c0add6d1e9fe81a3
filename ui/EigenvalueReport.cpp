#include "ui/EigenvalueReport.h"

#include <cstddef>
#include <cstdint>

#include "framework/core/BackgroundTask.h"
#include "framework/core/Text.h"
#include "framework/gui/Dialogs.h"
#include "stats/VarsModule.h"
#include "ui/ControlWnd.h"
#include "ui/CreditLine.h"

namespace EigenvalueReport {

namespace {

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Right-aligned in `width` characters; the limits keep every number within the width.
std::string RightAligned(std::int64_t value, int width) {
  return fw::Right(std::string(static_cast<std::size_t>(width), ' ') + fw::Str(value), width);
}

constexpr int Digits(std::int64_t n) { return n < 10 ? 1 : 1 + Digits(n / 10); }
// The header gives the inputs four places and the table the ranks three.
static_assert(Digits(VarsModule::kInputLimits.VarMax) <= 3 && Digits(VarsModule::kInputLimits.SubMax) <= 4 &&
              Digits(VarsModule::kInputLimits.RepMax) <= 4);

// The first pieces replace the whole text by the text followed by the piece.
void Replace(const class ControlWnd& w, std::string_view piece) {
  w.DataFld()->Text(w.DataFld()->Text() + std::string(piece));
}

// Every later piece goes at the end of the text, wherever the caret stood.
void Append(const class ControlWnd& w, std::string_view piece) {
  w.DataFld()->SelectionStart(fw::Len(w.DataFld()->Text()));
  w.DataFld()->SelectedText(piece);
}

}  // namespace

const std::string DashLine = Repeat("\u2013", 54);

void Write(class ControlWnd& w, const std::string& startDate, const std::string& startTime) {
  const std::string& eol = VarsModule::kEOL;
  const std::string spaces15(15, ' ');

  Replace(w, std::string(kTitle) + eol);
  Replace(w, "Version " + std::string(kReportVersion) + eol + eol + eol);
  Append(w, startDate + "   " + startTime + eol);
  Append(w, "Number of variables:   " + RightAligned(VarsModule::vars, 4) + eol);
  Append(w, "Number of subjects:    " + RightAligned(VarsModule::subs, 4) + eol);
  Append(w, "Number of replications:" + RightAligned(VarsModule::reps, 4) + eol + eol);
  Append(w, DashLine + eol);
  Append(w, "Eigenvalue #     Random Eigenvalue     Standard Dev" + eol);
  Append(w, DashLine + eol);
  for (std::int64_t i = 1; i <= VarsModule::vars; ++i) {
    const auto row = static_cast<std::int32_t>(i);
    Append(w, "    " + RightAligned(i, 3) + spaces15 +
                  fw::Format(VarsModule::SumStats->Get(row, 1), "0.0000") + spaces15 +
                  fw::Format(VarsModule::SumStats->Get(row, 3), ".0000") + eol);
    fw::RuntimeBackgroundTask();
  }
  Append(w, DashLine + eol);
  fw::Ref<fw::Date> end = w.New<fw::Date>();
  end->Constructor();
  Append(w, end->ShortDate() + "   " + end->LongTime() + eol + eol);
  Append(w, std::string(kTitle) + eol);
  Append(w, std::string(CreditLine) + eol + DashLine + eol);
}

}  // namespace EigenvalueReport
