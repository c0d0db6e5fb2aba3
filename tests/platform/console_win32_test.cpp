// The key pause in copies of this program, each on a pseudo console the test types into.
#define WIN32_LEAN_AND_MEAN
#define _WIN32_WINNT 0x0A00
#define NTDDI_VERSION 0x0A000006 // pseudo consoles
#include "platform/console.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace ordimet::platform {
namespace {

// Only a guard against a test that would hang: starting a program under Wine on a busy
// machine takes seconds, and nothing passes or fails by this bound.
constexpr DWORD LONG_MS = 60000;
// How long a pause that must wait stays watched; a slow machine can hide a fault, not invent one.
constexpr DWORD QUIET_MS = 300;
constexpr DWORD START_MODE = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;

INPUT_RECORD key(WORD code, wchar_t ch, DWORD state = 0, BOOL down = TRUE, WORD type = KEY_EVENT) {
    return {type, {.KeyEvent = {down, 1, code, 0, {ch}, state}}};
}

// The child writes `records` into its console, exactly one of them ending a
// pause, and pauses once for it, then once for each key the test types.
struct Case {
    const char* what;
    std::vector<INPUT_RECORD> records;
    std::vector<std::string> typed = {"z"};
};
const std::vector<Case> CASES = {
    {"releases, modifiers, locks and other events (a 'q' if read as keys) around a letter",
     {key('X', L'x', 0, FALSE), key(VK_CONTROL, 0, RIGHT_CTRL_PRESSED | ENHANCED_KEY),
      key(VK_SHIFT, 0, SHIFT_PRESSED), key(VK_CAPITAL, 0), key('Q', L'q', 0, TRUE, MOUSE_EVENT),
      key('Q', L'q', 0, TRUE, FOCUS_EVENT), key('Q', L'q', 0, TRUE, WINDOW_BUFFER_SIZE_EVENT),
      key('A', L'a', SHIFT_PRESSED), key('A', L'a', 0, FALSE)}},
    {"an arrow", {key(VK_UP, 0, ENHANCED_KEY), key(VK_UP, 0, ENHANCED_KEY, FALSE)}},
    {"a function key", {key(VK_F12, 0)}},
    {"a character in two halves, releases between",
     {key(0, 0xd83d), key(0, 0xd83d, 0, FALSE), key(0, 0xde00), key(0, 0xde00, 0, FALSE)}},
    {"a letter, an arrow, F5 and one key more, typed", {}, {"a", "\x1b[A", "\x1b[15~", "x"}},
};

// The child side. Exit codes: 2 mode not restored after a pause, 3 a key left going down.
int child(const Case& c) {
    const HANDLE input =
        CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD n = 0, mode = 0;
    SetConsoleMode(input, START_MODE);
    WriteConsoleInputW(input, c.records.data(), static_cast<DWORD>(c.records.size()), &n);
    bool restored = true;
    for (std::size_t i = c.records.empty() ? 1 : 0; i <= c.typed.size(); ++i) {
        read_one_key();
        restored = restored && GetConsoleMode(input, &mode) && mode == START_MODE;
    }
    INPUT_RECORD rest[64];
    const bool key_left = PeekConsoleInputW(input, rest, 64, &n) &&
                          std::any_of(rest, rest + n, [](const INPUT_RECORD& r) {
                              return r.EventType == KEY_EVENT && r.Event.KeyEvent.bKeyDown;
                          });
    FreeConsole();
    read_one_key(); // with no console, returns at once
    return !restored ? 2 : key_left ? 3 : 0;
}

// This program run as `--child INDEX` on a pseudo console; its screen pipe is never read.
struct Child {
    HPCON console = nullptr;
    HANDLE in = nullptr, typing = nullptr, screen = nullptr, out = nullptr;
    PROCESS_INFORMATION process{};

    explicit Child(std::size_t index) {
        wchar_t path[32768];
        GetModuleFileNameW(nullptr, path, 32768);
        alignas(8) char attributes[512];
        SIZE_T size = sizeof attributes;
        STARTUPINFOEXW startup{};
        startup.StartupInfo.cb = sizeof startup;
        startup.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes);
        if (CreatePipe(&in, &typing, nullptr, 0) && CreatePipe(&screen, &out, nullptr, 1 << 16) &&
            CreatePseudoConsole({80, 25}, in, out, 0, &console) == S_OK &&
            InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size) &&
            UpdateProcThreadAttribute(startup.lpAttributeList, 0,
                                      PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE, console, sizeof console,
                                      nullptr, nullptr)) {
            CreateProcessW(path, (L"console_win32_tests --child " + std::to_wstring(index)).data(),
                           nullptr, nullptr, FALSE, EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                           &startup.StartupInfo, &process);
        }
    }
    ~Child() {
        TerminateProcess(process.hProcess, 1);
        for (const HANDLE h : {process.hProcess, process.hThread, screen, typing, in, out}) {
            CloseHandle(h); // the screen before the pseudo console, which must not wait to draw
        }
        if (console != nullptr) {
            ClosePseudoConsole(console);
        }
    }
    bool ended(DWORD ms) { return WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0; }
};

class Pause : public ::testing::TestWithParam<std::size_t> {};
TEST_P(Pause, WaitsForAKeyDownEndsOncePerKeyAndRestoresTheMode) {
    const Case& c = CASES[GetParam()];
    Child child(GetParam());
    for (const std::string& typed : c.typed) {
        ASSERT_FALSE(child.ended(QUIET_MS)) << c.what << ": a pause did not wait";
        DWORD n = 0;
        WriteFile(child.typing, typed.data(), static_cast<DWORD>(typed.size()), &n, nullptr);
    }
    ASSERT_TRUE(child.ended(LONG_MS)) << c.what << ": not started, or a pause still waits";
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(child.process.hProcess, &code);
    EXPECT_EQ(code, 0u) << c.what;
}
INSTANTIATE_TEST_SUITE_P(Console, Pause, ::testing::Range<std::size_t>(0, CASES.size()));

} // namespace
} // namespace ordimet::platform

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--child") {
        return ordimet::platform::child(ordimet::platform::CASES.at(std::stoul(argv[2])));
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
