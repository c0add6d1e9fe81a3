#pragma once
// The desktop services that tests replace: the message box, the beep, the print dialog, the clock
// and the folders the program's data files lie in. The framework reaches them through Platform();
// Qt's serve unless a test installed others.

#include <chrono>
#include <string>
#include <vector>

class QPrinter;

namespace fw {

class PlatformServices {
 public:
  virtual ~PlatformServices() = default;
  // A modal message box with the text, titled with the application's name; returns once closed.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void Beep() = 0;
  // Lets the user choose where the printer prints; false when the dialog was cancelled.
  virtual bool ChoosePrinter(QPrinter& printer) = 0;
  virtual std::chrono::system_clock::time_point Now() = 0;
  // The folders searched, in order, for a data file (a picture, the icon) by its bare name.
  virtual std::vector<std::string> DataFolders() = 0;
};

// Qt's services. Data files lie beside the executable, or in the installed data folder.
class QtPlatformServices : public PlatformServices {
 public:
  void ShowMessage(const std::string& text) override;
  void Beep() override;
  bool ChoosePrinter(QPrinter& printer) override;
  std::chrono::system_clock::time_point Now() override;
  std::vector<std::string> DataFolders() override;
};

PlatformServices& Platform();
// Puts `services` in use until the next call; null puts Qt's back. The caller keeps them alive.
void SetPlatform(PlatformServices* services);

}  // namespace fw
