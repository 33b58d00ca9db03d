// The native input and sound layers the App drives: the keyboard and
// controller reader with its polling thread, and the mixer with its own
// thread. Each layer lives in its own folder; this is the App's one view of
// both.
#pragma once

#include "audio/native_audio.h"
#include "input/native_input.h"
