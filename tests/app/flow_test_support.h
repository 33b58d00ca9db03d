// The app flow tests share the scratch folder and whole-file helpers of the audio tests.
#pragma once

#include "../audio/temp_folder.h"
