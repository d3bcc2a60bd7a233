#include "kestrum/core/util_lock.h"

namespace ZuvraKestrum::Util {

CLock::CLock() : section_(new CRITICAL_SECTION) { InitializeCriticalSection(section_); }

CLock::~CLock() {
    DeleteCriticalSection(section_);
    delete section_;
}

void CLock::Enter() { EnterCriticalSection(section_); }

bool CLock::TryEnter() { return TryEnterCriticalSection(section_) != FALSE; }

void CLock::Leave() { LeaveCriticalSection(section_); }

}  // namespace ZuvraKestrum::Util
