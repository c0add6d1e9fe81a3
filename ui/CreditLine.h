#pragma once
// The one-line credit text of the version data, the splash window, the by-line and the report.

#include <string_view>

#include "resources/Version.h"

inline constexpr std::string_view CreditLine = TESSIVAR_CREDIT_LINE;
