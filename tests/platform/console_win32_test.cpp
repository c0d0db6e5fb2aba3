// The key-press pause against a real console. The test program starts copies
// of itself as child processes attached to a fresh pseudo console: a child
// either writes console input records into its own console and pauses once,
// or pauses again and again while the test types into the pseudo console as
// a terminal would. A child started without any console must not wait.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define _WIN32_WINNT 0x0A00
#define NTDDI_VERSION 0x0A000006 // pseudo consoles
#include "platform/console.hpp"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace ordimet::platform {
namespace {

constexpr DWORD kLongMs = 20000; // bound for anything that must happen
constexpr DWORD kQuietMs = 300;  // how long a waiting pause must stay waiting
constexpr DWORD kChildStartMode = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT;

// Exit codes of a child.
enum ChildResult : DWORD { kPassed = 0, kNoConsole = 10, kModeNotRestored, kWrongRest, kBadUse };

INPUT_RECORD key(bool down, WORD code, wchar_t ch, DWORD state = 0) {
    INPUT_RECORD record{};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = down ? TRUE : FALSE;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = code;
    record.Event.KeyEvent.uChar.UnicodeChar = ch;
    record.Event.KeyEvent.dwControlKeyState = state;
    return record;
}
INPUT_RECORD other_event(WORD type) {
    INPUT_RECORD record{};
    record.EventType = type;
    return record;
}
// Every input below ends with this key: a pause that passes over the key it
// should end on ends here instead, and the test sees it missing.
const INPUT_RECORD kLastKey = key(true, 'Z', L'z');

// Input records for one pause: exactly one of them before kLastKey ends it,
// and no key goes down after it but kLastKey.
struct RecordCase {
    const char* what;
    std::vector<INPUT_RECORD> records;
};

const std::vector<RecordCase>& record_cases() {
    static const std::vector<RecordCase> cases = {
        {"releases, modifiers, locks and other events before a letter",
         {key(false, 'X', L'x'), key(true, VK_SHIFT, 0, SHIFT_PRESSED),
          key(true, VK_CONTROL, 0, RIGHT_CTRL_PRESSED | ENHANCED_KEY),
          key(true, VK_MENU, 0, LEFT_ALT_PRESSED), key(true, VK_CAPITAL, 0),
          key(true, VK_NUMLOCK, 0, ENHANCED_KEY), key(true, VK_LWIN, 0, ENHANCED_KEY),
          other_event(MOUSE_EVENT), other_event(FOCUS_EVENT), other_event(WINDOW_BUFFER_SIZE_EVENT),
          key(true, 'A', L'a', SHIFT_PRESSED), key(false, 'A', L'a')}},
        {"an arrow", {key(true, VK_UP, 0, ENHANCED_KEY), key(false, VK_UP, 0, ENHANCED_KEY)}},
        {"a function key", {key(true, VK_F12, 0)}},
        {"Delete", {key(true, VK_DELETE, 0, ENHANCED_KEY)}},
        {"the keypad's centre key without Num Lock", {key(true, VK_CLEAR, 0)}},
        {"Ctrl+C", {key(true, 'C', 3, LEFT_CTRL_PRESSED)}},
        {"both halves of a character beyond 16 bits, releases between",
         {key(true, 0, 0xd83d), key(false, 0, 0xd83d), key(true, 0, 0xde00),
          key(false, 0, 0xde00)}},
    };
    return cases;
}

// --- The child side ------------------------------------------------------

HANDLE open_console_input() {
    return CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

// Writes one case's records into the console, pauses, and checks that the
// pause restored the console mode and left exactly kLastKey going down.
DWORD child_records(std::size_t index) {
    if (index >= record_cases().size()) {
        return kBadUse;
    }
    const HANDLE input = open_console_input();
    if (input == INVALID_HANDLE_VALUE || !FlushConsoleInputBuffer(input)) {
        return kNoConsole;
    }
    std::vector<INPUT_RECORD> records = record_cases()[index].records;
    records.push_back(kLastKey);
    // Written with the mode off, so that the console takes Ctrl+C as input.
    DWORD written = 0;
    if (!SetConsoleMode(input, 0) ||
        !WriteConsoleInputW(input, records.data(), static_cast<DWORD>(records.size()), &written) ||
        !SetConsoleMode(input, kChildStartMode)) {
        return kNoConsole;
    }
    read_one_key();
    DWORD mode = 0;
    if (!GetConsoleMode(input, &mode) || mode != kChildStartMode) {
        return kModeNotRestored;
    }
    std::vector<WCHAR> keys_down;
    DWORD waiting = 0;
    INPUT_RECORD record;
    while (GetNumberOfConsoleInputEvents(input, &waiting) && waiting > 0 &&
           ReadConsoleInputW(input, &record, 1, &waiting)) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) {
            keys_down.push_back(record.Event.KeyEvent.uChar.UnicodeChar);
        }
    }
    return keys_down == std::vector<WCHAR>{L'z'} ? kPassed : kWrongRest;
}

// Pauses `count` times; before each pause it signals the named semaphore.
DWORD child_pauses(int count, const char* semaphore_name) {
    const HANDLE semaphore = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, semaphore_name);
    const HANDLE input = open_console_input();
    if (semaphore == nullptr) {
        return kBadUse;
    }
    if (input != INVALID_HANDLE_VALUE && !SetConsoleMode(input, kChildStartMode)) {
        return kNoConsole;
    }
    for (int i = 0; i < count; ++i) {
        ReleaseSemaphore(semaphore, 1, nullptr);
        read_one_key();
        DWORD mode = 0;
        if (input != INVALID_HANDLE_VALUE &&
            (!GetConsoleMode(input, &mode) || mode != kChildStartMode)) {
            return kModeNotRestored;
        }
    }
    return kPassed;
}

// --- The test side -------------------------------------------------------

// A copy of this program running as a child with the given arguments, with a
// pseudo console of its own unless `detached`, when it has no console at all.
// The child is killed and everything released when the test ends.
class Child {
  public:
    Child(const std::wstring& arguments, bool detached) {
        wchar_t path[32768];
        GetModuleFileNameW(nullptr, path, 32768);
        std::wstring command = L"\"" + std::wstring(path) + L"\" --child " + arguments;
        STARTUPINFOEXW startup{};
        startup.StartupInfo.cb = sizeof startup;
        HANDLE their_input = nullptr;
        HANDLE their_output = nullptr;
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        attributes_.resize(size);
        startup.lpAttributeList =
            reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes_.data());
        // The screen gets a large pipe that nobody reads: the child writes
        // nothing, and the pseudo console must never wait to draw.
        const bool console =
            detached ||
            (CreatePipe(&their_input, &typing_, nullptr, 0) &&
             CreatePipe(&screen_, &their_output, nullptr, 1 << 16) &&
             CreatePseudoConsole(COORD{80, 25}, their_input, their_output, 0, &console_) == S_OK &&
             InitializeProcThreadAttributeList(startup.lpAttributeList, 1, 0, &size) &&
             UpdateProcThreadAttribute(startup.lpAttributeList, 0,
                                       PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE, console_,
                                       sizeof console_, nullptr, nullptr));
        for (const HANDLE end : {their_input, their_output}) {
            if (end != nullptr) {
                CloseHandle(end); // the pseudo console holds its own
            }
        }
        const DWORD flags = detached ? DETACHED_PROCESS : EXTENDED_STARTUPINFO_PRESENT;
        if (!console || !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, flags,
                                        nullptr, nullptr, &startup.StartupInfo, &process_)) {
            process_.hProcess = nullptr;
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (process_.hProcess != nullptr) {
            TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
        // The screen first, so that the pseudo console can't wait to draw.
        for (const HANDLE handle : {screen_, typing_}) {
            if (handle != nullptr) {
                CloseHandle(handle);
            }
        }
        if (console_ != nullptr) {
            ClosePseudoConsole(console_);
        }
    }

    HANDLE process() const { return process_.hProcess; }
    void type(const std::string& bytes) {
        DWORD written = 0;
        WriteFile(typing_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    bool ended_within(DWORD ms) const {
        return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
    }
    DWORD exit_code() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    HPCON console_ = nullptr;
    HANDLE typing_ = nullptr;
    HANDLE screen_ = nullptr;
    std::vector<char> attributes_;
    PROCESS_INFORMATION process_{};
};

class PauseOnRecords : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PauseOnRecords, EndsOnTheRightKeyAndRestoresTheMode) {
    Child child(L"records " + std::to_wstring(GetParam()), false);
    ASSERT_NE(child.process(), nullptr);
    ASSERT_TRUE(child.ended_within(kLongMs)) << "the pause is still waiting";
    EXPECT_EQ(child.exit_code(), kPassed) << record_cases()[GetParam()].what;
}

INSTANTIATE_TEST_SUITE_P(Console, PauseOnRecords,
                         ::testing::Range<std::size_t>(0, record_cases().size()));

TEST(Console, EachTypedKeyEndsOnePauseAndTheNextOneWaits) {
    // As a terminal sends them: a letter, Enter, an arrow, F5 and a non-ASCII
    // letter. The terminal's key releases follow each key press.
    const std::vector<std::string> keys = {"a", "\r", "\x1b[A", "\x1b[15~", "\xc3\xa9"};
    const std::wstring name = L"ordimet-pause-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE pauses = CreateSemaphoreW(nullptr, 0, 100, name.c_str());
    ASSERT_NE(pauses, nullptr);
    Child child(L"pauses " + std::to_wstring(keys.size()) + L" " + name, false);
    ASSERT_NE(child.process(), nullptr);
    for (const std::string& typed : keys) {
        const HANDLE pause_or_end[] = {pauses, child.process()};
        ASSERT_EQ(WaitForMultipleObjects(2, pause_or_end, FALSE, kLongMs), WAIT_OBJECT_0)
            << "the child did not reach its pause; it ended with " << child.exit_code();
        ASSERT_FALSE(child.ended_within(kQuietMs)) << "the pause did not wait";
        child.type(typed);
    }
    EXPECT_TRUE(child.ended_within(kLongMs)) << "the last pause is still waiting";
    EXPECT_EQ(child.exit_code(), kPassed);
    CloseHandle(pauses);
}

TEST(Console, WithoutAConsoleThePauseReturnsAtOnce) {
    const std::wstring name = L"ordimet-detached-" + std::to_wstring(GetCurrentProcessId());
    const HANDLE pauses = CreateSemaphoreW(nullptr, 0, 100, name.c_str());
    ASSERT_NE(pauses, nullptr);
    Child child(L"pauses 3 " + name, true);
    ASSERT_NE(child.process(), nullptr);
    EXPECT_TRUE(child.ended_within(kLongMs)) << "a pause waited without a console";
    EXPECT_EQ(child.exit_code(), kPassed);
    CloseHandle(pauses);
}

} // namespace
} // namespace ordimet::platform

int main(int argc, char** argv) {
    using namespace ordimet::platform;
    if (argc >= 2 && std::strcmp(argv[1], "--child") == 0) {
        if (argc == 4 && std::strcmp(argv[2], "records") == 0) {
            return static_cast<int>(child_records(std::strtoul(argv[3], nullptr, 10)));
        }
        if (argc == 5 && std::strcmp(argv[2], "pauses") == 0) {
            return static_cast<int>(child_pauses(std::atoi(argv[3]), argv[4]));
        }
        return kBadUse;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
