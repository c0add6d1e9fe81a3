#pragma once
// Message boxes, the alert sound, dates in the system's formats, and printing.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "framework/gui/Object.h"

namespace fw {

class MessageDialog {
 public:
  // A modal message box with one OK button; returns when the user closes it.
  static void Show(std::string_view message);
};

// The system alert sound.
void Beep();

// The current date and time when constructed.
class Date : public Object {
 public:
  static constexpr std::string_view kClassName = "Date";
  Date();
  std::string_view ClassName() const override { return kClassName; }
  void Constructor();
  // The date in the system locale's short date format; the time in its long time format.
  std::string ShortDate() const;
  std::string LongTime() const;

 private:
  std::int64_t msecsSinceEpoch_ = 0;
};

// A page to draw on, from the printer dialog; page units are 1/72 inch. The pages are put out
// when the last reference goes; a failure then is told in a message box, never thrown.
class Graphics : public Object {
 public:
  static constexpr std::string_view kClassName = "Graphics";
  std::string_view ClassName() const override { return kClassName; }
  ~Graphics() override;
  // Finishes the current page and begins a new empty one.
  void NextPage();

  struct Impl;
  explicit Graphics(std::unique_ptr<Impl> impl);
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

class PrinterSetup {
 public:
  // The print dialog: a page to draw on, or nil when the user cancels. Printing to a PDF file is
  // one of the dialog's choices; nil too, after a message, when the chosen file cannot be made.
  static Ref<Graphics> ShowPrinterDialog();
};

// Draws a text area's styled text block by block.
class StyledTextPrinter : public Object {
 public:
  static constexpr std::string_view kClassName = "StyledTextPrinter";
  std::string_view ClassName() const override { return kClassName; }
  ~StyledTextPrinter() override;
  // Draws the next part of the text that fits into `height` units at (x, y) and moves past it.
  void DrawBlock(std::int64_t x, std::int64_t y, std::int64_t height);
  // True once all of the text has been drawn. (EOF is a C library macro, hence the name.)
  bool EOFReached() const;

  struct Impl;
  explicit StyledTextPrinter(std::unique_ptr<Impl> impl);
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace fw
