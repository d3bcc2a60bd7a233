#include "app/windows/skeleton/control_binding.h"

#include "kestrum/core/util_text.h"

namespace ZuvraKestrum::Frame {

void LogUnbound(CKestrumDump& log, const char* caller, int line, const wchar_t* name, bool found) {
    log.writeLine(Level_Error, line, "%s::%s control %s %s", log.name().c_str(), caller,
                  ZuvraKestrum::Util::CStringToUtf8(name).c_str(),
                  found ? "of another kind" : "missing");
}

}  // namespace ZuvraKestrum::Frame
