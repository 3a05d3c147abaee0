// Judging the console input queue: does it hold a key press that ends the stress test?
#pragma once

#include <windows.h>

#include <cstddef>

// A key-down event of any key other than Shift, Ctrl or Alt on its own. Releases, modifier
// presses, focus, menu, mouse and window-size events never count.
bool countsAsKeyPress(const INPUT_RECORD& record);

// True when any of the records counts, wherever it sits in the queue.
bool queueHoldsKeyPress(const INPUT_RECORD* records, size_t count);
