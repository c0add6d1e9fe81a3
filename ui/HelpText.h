#pragma once
// The help text: what the program does, advice, the literature, how to cite the program and the
// warranty disclaimer. Plain ASCII with CR LF line ends; the layout stores it in disclaimFld.

#include <string_view>

extern const std::string_view HelpText;
