// The hardware program's key source is the console alone, on every system.
#include "platform/platform.h"

bool keyWaiting() { return consoleKeyWaiting(); }
