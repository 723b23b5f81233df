#include "platform/win32/sync.h"

#include <mutex>
#include <new>

void InitializeCriticalSection(CRITICAL_SECTION* section) {
    if (section) section->lock = new (std::nothrow) std::recursive_mutex();
}

void EnterCriticalSection(CRITICAL_SECTION* section) {
    if (section && section->lock) static_cast<std::recursive_mutex*>(section->lock)->lock();
}

void LeaveCriticalSection(CRITICAL_SECTION* section) {
    if (section && section->lock) static_cast<std::recursive_mutex*>(section->lock)->unlock();
}

void DeleteCriticalSection(CRITICAL_SECTION* section) {
    if (!section) return;
    delete static_cast<std::recursive_mutex*>(section->lock);
    section->lock = nullptr;
}
