#pragma once
// Seams that only tests use, in a library of their own that the program does not link: platform
// services that record dialogs and beeps and answer them without a person, a fixed clock, the
// data folders, and a reset of the framework's global state between tests.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/Ref.h"
#include "framework/gui/Object.h"

namespace fw::testing {

// Puts the test platform services in place of Qt's (the seams below do so too). Until a
// test asks otherwise they behave as Qt's, except that data files are also found in the build
// tree's resource folder.
void UseTestPlatform();

// While recording, message boxes are not shown: their texts are recorded, the hook (if any) runs
// while the box would be open, and the box counts as closed at once.
void RecordDialogs(bool on);
const std::vector<std::string>& Messages();
int BeepCount();
void ClearRecords();
void OnMessage(std::function<void(const std::string& message)> hook);

// The printer dialog's answer while recording: nullopt cancels; a path prints to that PDF file.
void AnswerPrinterDialog(std::optional<std::string> pdfPath);
// How often the printer dialog was asked for.
int PrinterDialogCount();

// Fixes the clock behind Date (nullopt restores the system clock).
void FixClock(std::optional<std::chrono::system_clock::time_point> now);

// The folders searched for pictures and the icon (nullopt: beside the executable, the installed
// data folder and the build tree's resource folder).
void SetDataFolders(std::optional<std::vector<std::string>> folders);

// The events bound on a control or timer: each event number with its delegate's signature text,
// in ascending event order.
std::vector<std::pair<int, std::string>> BoundEvents(const Ref<Object>& source);

// Forgets every window (closed and deleted), the application object, registered classes and
// file types, menu handlers, the exit code and a pending quit, and turns the seams above off
// with their records cleared (the test platform stays in place), so that the next test starts
// as a fresh program.
void ResetFramework();

}  // namespace fw::testing
