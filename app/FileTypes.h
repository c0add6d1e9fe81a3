#pragma once
// The program's file types: one, plain text, registered at start-up and used for nothing else.

#include <vector>

#include "framework/gui/Application.h"

namespace FileTypes {

// The Text type; nil until Initialize has run.
extern fw::Ref<fw::FileType> pText;
// Every file type of the set, in order.
extern std::vector<fw::Ref<fw::FileType>> pAllFileTypes;

// Builds the Text type, adds it to the set and registers it with the framework.
void Initialize();
// The Text type, the same object on every call.
fw::Ref<fw::FileType> Text();

// Starts with an empty set and no Text type; one of the program's initialisers.
void ModuleInitializer();

}  // namespace FileTypes
