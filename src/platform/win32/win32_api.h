// The Windows headers the backend uses, windows.h first: the others need its types.
#pragma once

// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>
#include <xinput.h>
// clang-format on
