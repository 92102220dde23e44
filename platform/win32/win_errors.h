// Win32 error codes as the errno values the rest of the program reports.
#pragma once

namespace vellano::platform::win32 {

int errnoOf(unsigned long winError);
// errno from GetLastError(); returns -1 so a failing call can end with `return failed();`.
int failed();

}  // namespace vellano::platform::win32
