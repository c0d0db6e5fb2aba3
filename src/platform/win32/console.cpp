#include "platform/console.hpp"

#include <atomic>
#include <windows.h>

namespace ordimet::platform {
namespace {

// The console input and the mode to put back when a console event
// (Ctrl+Break, the window closing, logoff, shutdown) ends the process during
// the pause. Only the control handler and the pause itself touch these.
std::atomic<HANDLE> g_console_input{nullptr};
std::atomic<DWORD> g_saved_mode{0};

BOOL WINAPI restore_mode_and_go_on(DWORD) {
    const HANDLE input = g_console_input.load();
    if (input != nullptr) {
        SetConsoleMode(input, g_saved_mode.load());
    }
    return FALSE; // the next handler, in the end the default one, ends the process
}

// Whether a key event ends the pause: a key going down that yields a
// character or is an extended key (the navigation block, the keypad's centre
// key, the function keys). Releases, and modifier or lock keys pressed alone,
// are passed over.
bool is_pause_key(const KEY_EVENT_RECORD& key) {
    if (!key.bKeyDown) {
        return false;
    }
    if (key.uChar.UnicodeChar != 0) {
        return true;
    }
    const WORD code = key.wVirtualKeyCode;
    return code == VK_CLEAR || (code >= VK_PRIOR && code <= VK_DOWN) || code == VK_INSERT ||
           code == VK_DELETE || (code >= VK_F1 && code <= VK_F24);
}

// The console delivers a character beyond the Basic Multilingual Plane as two
// key events, one for each UTF-16 surrogate. After the high half has ended the
// pause, the low half is consumed too so that it can't end the next pause.
// Only records already waiting are looked at; releases in between are passed
// over.
void consume_low_surrogate(HANDLE input) {
    INPUT_RECORD next;
    DWORD count = 0;
    while (PeekConsoleInputW(input, &next, 1, &count) && count == 1 &&
           next.EventType == KEY_EVENT) {
        const bool down = next.Event.KeyEvent.bKeyDown != FALSE;
        if (down && !IS_LOW_SURROGATE(next.Event.KeyEvent.uChar.UnicodeChar)) {
            return;
        }
        if (!ReadConsoleInputW(input, &next, 1, &count) || down) {
            return;
        }
    }
}

// Reads input records until one ends the pause, or reading fails.
void read_until_pause_key(HANDLE input) {
    INPUT_RECORD record;
    DWORD count = 0;
    while (ReadConsoleInputW(input, &record, 1, &count) && count == 1) {
        if (record.EventType == KEY_EVENT && is_pause_key(record.Event.KeyEvent)) {
            if (IS_HIGH_SURROGATE(record.Event.KeyEvent.uChar.UnicodeChar)) {
                consume_low_surrogate(input);
            }
            return;
        }
    }
}

} // namespace

void read_one_key() {
    // The console itself, not standard input, which may be redirected.
    const HANDLE input =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        return; // no console
    }
    DWORD saved = 0;
    if (GetConsoleMode(input, &saved)) {
        g_saved_mode = saved;
        g_console_input = input;
        SetConsoleCtrlHandler(restore_mode_and_go_on, TRUE);
        // Mode 0: no echo, no line editing, Ctrl+C arrives as an ordinary key
        // instead of ending the process, and no mouse or window events.
        if (SetConsoleMode(input, 0)) {
            read_until_pause_key(input);
            SetConsoleMode(input, saved);
        }
        SetConsoleCtrlHandler(restore_mode_and_go_on, FALSE);
        g_console_input = nullptr;
    }
    CloseHandle(input);
}

} // namespace ordimet::platform
