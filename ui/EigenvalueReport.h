#pragma once
// The fixed-width report of a calculation, written piece by piece into the report area.

#include <string>
#include <string_view>

class ControlWnd;

namespace EigenvalueReport {

inline constexpr std::string_view kTitle = "Tessivar for Parallel Analysis";
inline constexpr std::string_view kReportVersion = "3.0";
// 54 en dashes.
extern const std::string DashLine;

// Writes the report of the finished run in VarsModule at the end of the window's report area,
// with the start date and time that the run took; takes the end date and time itself.
void Write(class ControlWnd& w, const std::string& startDate, const std::string& startTime);

}  // namespace EigenvalueReport
