#pragma once
// The two image constants. Each loads its file at first use and keeps a picture once found; a
// picture not found is looked up again at the next use.

#include "framework/gui/Controls.h"

// The banner, "Tessivar.png".
fw::Ref<fw::Picture> Tessivar();
// The emblem, "NumBlocks.png".
fw::Ref<fw::Picture> NumBlocks();
