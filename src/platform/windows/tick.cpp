#include <windows.h>

#include "platform/platform.h"

// Milliseconds since the system started; wraps after 49.7 days, which the callers' unsigned
// differences survive.
uint32_t tickMs() { return static_cast<uint32_t>(GetTickCount()); }
