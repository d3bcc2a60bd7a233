#include "ui/base/dpi/windows_version.h"

namespace ui {

bool IsWindows6OrLater(WORD minor) {
  OSVERSIONINFOEXW wanted = {};
  wanted.dwOSVersionInfoSize = sizeof(wanted);
  wanted.dwMajorVersion = 6;
  wanted.dwMinorVersion = minor;
  wanted.wServicePackMajor = 0;
  const DWORD fields = VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR;
  DWORDLONG condition = 0;
  condition = VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  condition = VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&wanted, fields, condition) != FALSE;
}

bool IsWindowsVistaOrLater() {
  // The answer cannot change while the process runs.
  static const bool result = IsWindows6OrLater(0);
  return result;
}

bool IsWindows8OrLater() {
  static const bool result = IsWindows6OrLater(2);
  return result;
}

}  // namespace ui
