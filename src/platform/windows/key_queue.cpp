#include "platform/windows/key_queue.h"

bool countsAsKeyPress(const INPUT_RECORD& record)
{
    if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) {
        return false;
    }
    // The console reports the generic codes, but some input sources send the left/right ones.
    switch (record.Event.KeyEvent.wVirtualKeyCode) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
        return false;
    default:
        return true;
    }
}

bool queueHoldsKeyPress(const INPUT_RECORD* records, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (countsAsKeyPress(records[i])) {
            return true;
        }
    }
    return false;
}
