#include "platform/platform.h"

bool keyWaiting() { return consoleKeyWaiting(); }
