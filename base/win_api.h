#pragma once
// <windows.h> for the toolkit's Windows files. The system headers define
// function-like and plain macros over common names (DrawText, TextOut,
// RGB ...) that would rewrite the toolkit's own members of those names; the
// program calls the wide functions by their explicit names (DrawTextW), so
// the generic macros are removed here.
#include <windows.h>

#undef DrawText
#undef TextOut
#undef GetRValue
#undef GetGValue
#undef GetBValue
#undef RGB
#undef CreateWindow
#undef GetMessage
#undef SendMessage
#undef PostMessage
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef CreateFont
#undef FindResource
#undef MessageBox
