#pragma once
// The text of each page of a PDF file, as pdftotext reads it.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace guitest {

inline std::vector<std::string> PdfPageTexts(const std::string& pdf) {
  std::vector<std::string> pages;
  const std::string command = "pdftotext -layout '" + pdf + "' - 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return pages;
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) {
    text.append(buffer, n);
  }
  // Pages end with a form feed.
  std::size_t at = 0;
  for (std::size_t ff; (ff = text.find('\f', at)) != std::string::npos; at = ff + 1) {
    pages.push_back(text.substr(at, ff - at));
  }
  return pages;
}

}  // namespace guitest
