// Console input records as the console queues them, for feeding the key test.
#pragma once

#include <windows.h>

#include <iterator>
#include <vector>

inline INPUT_RECORD key(WORD virtualKey, bool down, WCHAR character = 0)
{
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
    record.Event.KeyEvent.uChar.UnicodeChar = character;
    return record;
}

inline INPUT_RECORD focus(bool gained)
{
    INPUT_RECORD record{};
    record.EventType = FOCUS_EVENT;
    record.Event.FocusEvent.bSetFocus = gained ? TRUE : FALSE;
    return record;
}

inline INPUT_RECORD mouseMove(SHORT x, SHORT y)
{
    INPUT_RECORD record{};
    record.EventType = MOUSE_EVENT;
    record.Event.MouseEvent.dwMousePosition = {x, y};
    record.Event.MouseEvent.dwEventFlags = MOUSE_MOVED;
    return record;
}

inline INPUT_RECORD windowSize(SHORT columns, SHORT rows)
{
    INPUT_RECORD record{};
    record.EventType = WINDOW_BUFFER_SIZE_EVENT;
    record.Event.WindowBufferSizeEvent.dwSize = {columns, rows};
    return record;
}

inline INPUT_RECORD menu()
{
    INPUT_RECORD record{};
    record.EventType = MENU_EVENT;
    record.Event.MenuEvent.dwCommandId = 0x100;
    return record;
}

// 200 events of every kind that must not end the test: releases, Shift, Ctrl and Alt alone
// (generic and left/right codes, held and repeating), focus, mouse, window-size and menu events.
inline std::vector<INPUT_RECORD> twoHundredNonKeyEvents()
{
    const INPUT_RECORD kinds[] = {key('A', false, L'a'), key(VK_SHIFT, true),    key(VK_SHIFT, false),
                                  key(VK_CONTROL, true), key(VK_MENU, true),     key(VK_LSHIFT, true),
                                  key(VK_RMENU, true),   key(VK_RCONTROL, true), focus(true),
                                  focus(false),          mouseMove(3, 4),        windowSize(80, 25),
                                  menu()};
    std::vector<INPUT_RECORD> records;
    for (int i = 0; i < 200; ++i) {
        records.push_back(kinds[i % std::size(kinds)]);
    }
    return records;
}

inline std::vector<INPUT_RECORD> operator+(std::vector<INPUT_RECORD> front, const std::vector<INPUT_RECORD>& back)
{
    front.insert(front.end(), back.begin(), back.end());
    return front;
}
