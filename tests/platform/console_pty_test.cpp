// The key-press pause in a child process whose controlling terminal is a pseudo-terminal:
// the test types on the master side and watches the child's output and the terminal settings.
// Keys are typed in one write each, and the test waits for states it can observe (a prompt,
// the raw mode, a stop), so that no outcome depends on how fast a loaded machine runs it.
#include "support/support.hpp"

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <ostream>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

namespace ordimet {
namespace {

using Clock = std::chrono::steady_clock;
// Only a guard against a test that would hang: nothing passes or fails by it.
constexpr std::chrono::milliseconds LONG{60000};
// How long a pause that must wait stays watched; a slow machine can hide a fault, not invent one.
constexpr std::chrono::milliseconds QUIET{150};
const std::string PROMPT = "\r\nPressione uma tecla para continuar...\r\n";
const std::string MARKERS[] = {"<1>", "<2>", "<3>"};
const std::string ALL_RELEASED = PROMPT + "<1>" + PROMPT + "<2>" + PROMPT + "<3>";

// Compares the mode flags and the control characters.
bool same_settings(int fd, const termios& expected) {
    termios now{};
    return ::tcgetattr(fd, &now) == 0 &&
           std::memcmp(&now, &expected, offsetof(termios, c_cc) + NCCS) == 0;
}

// The pausing process: three pauses, a marker written after each. Its empty standard input
// must not be read.
[[noreturn]] void pause_three_times() {
    ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
    for (const std::string& marker : MARKERS) {
        wait_for_key();
        [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, marker.data(), marker.size());
    }
    ::_exit(0);
}

// A job-control shell, owner of the terminal, whose job is the pausing process, started in
// the background (at the shell's prompt: `editor` set, as a line editor sets it) or in the
// foreground. A pause in the background must stop without touching the terminal; `fg` gives
// the job the user's settings, the terminal and SIGCONT. Once the pause is in raw mode, the
// job is stopped with `stop` and must have put the user's settings back; the shell takes the
// terminal for its prompt, does `fg` again and writes "[fg]". Its job is in a process group
// of its own that the system stops, unlike a session leader's. Exit status: 0 when every check
// passed and the job ended with 0.
[[noreturn]] void shell(const termios& user, const termios& editor, int stop, bool background) {
    ::signal(SIGTTOU, SIG_IGN); // a shell sets the terminal also while a job owns it
    if (background) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &editor);
    }
    const pid_t job = ::fork();
    if (job == 0) {
        ::setpgid(0, 0);
        if (!background) {
            ::tcsetpgrp(STDIN_FILENO, ::getpgrp());
        }
        ::signal(SIGTTOU, SIG_DFL);
        pause_three_times();
    }
    ::setpgid(job, job);
    int status = 0;
    const auto stopped_leaving = [&](const termios& settings) {
        return ::waitpid(job, &status, WUNTRACED) == job && WIFSTOPPED(status) &&
               same_settings(STDIN_FILENO, settings);
    };
    const auto fg = [&] {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &user);
        ::tcsetpgrp(STDIN_FILENO, job);
        ::kill(-job, SIGCONT);
    };
    if (background) {
        if (!stopped_leaving(editor)) {
            ::_exit(81);
        }
        fg();
    }
    for (termios now{}; ::tcgetattr(STDIN_FILENO, &now) == 0 && (now.c_lflag & ICANON) != 0;) {
        ::usleep(1000);
    }
    ::kill(-job, stop);
    if (!stopped_leaving(user)) {
        ::_exit(82);
    }
    ::tcsetpgrp(STDIN_FILENO, ::getpgrp());
    ::tcsetattr(STDIN_FILENO, TCSANOW, &editor);
    fg();
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, "[fg]", 4);
    const bool ended = ::waitpid(job, &status, 0) == job && WIFEXITED(status);
    ::_exit(ended && WEXITSTATUS(status) == 0 ? 0 : 83);
}

class PauseTest : public ::testing::Test {
  protected:
    int master = -1, slave = -1; // the test keeps the slave open to read the settings
    pid_t pid = -1;
    termios initial{};
    std::string out;  // everything the child has written so far
    int released = 0; // the pauses that have ended

    void SetUp() override {
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0 ||
            ::tcgetattr(slave, &initial) != 0) {
            GTEST_SKIP() << "no pseudo-terminal available";
        }
    }
    void TearDown() override {
        if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0 && ::kill(pid, SIGKILL) == 0) {
            ::waitpid(pid, nullptr, 0);
        }
        ::close(master);
        ::close(slave);
    }
    // Runs `body` in a child whose standard output is the terminal, and its controlling
    // terminal `with_tty`, as a session leader.
    template <class Body> void spawn(Body body, bool with_tty = true) {
        std::fflush(nullptr);
        pid = ::fork();
        if (pid == 0) {
            ::signal(SIGTERM, SIG_DFL);
            if (with_tty ? ::login_tty(slave) != 0
                         : ::setsid() < 0 || ::dup2(slave, STDOUT_FILENO) < 0) {
                ::_exit(90);
            }
            body();
        }
        ASSERT_GT(pid, 0);
    }
    // Collects the child's output until `done` holds or `limit` has passed.
    template <class Done> bool until(Done done, std::chrono::milliseconds limit = LONG) {
        bool ok = false;
        for (const auto end = Clock::now() + limit; !(ok = done()) && Clock::now() < end;) {
            pollfd p{master, POLLIN, 0};
            char buffer[256];
            const ssize_t n = ::poll(&p, 1, 5) > 0 ? ::read(master, buffer, sizeof buffer) : 0;
            out.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
        }
        return ok;
    }
    bool shows(const std::string& text, std::chrono::milliseconds limit = LONG) {
        return until([&] { return out.find(text) != std::string::npos; }, limit);
    }
    bool pausing() {
        termios now{};
        return ::tcgetattr(slave, &now) == 0 && (now.c_lflag & ICANON) == 0;
    }
    // Waits for the next pause to read, types `keys` in one write and checks that exactly
    // `count` pauses end: the one after goes on waiting.
    void type(const std::string& keys, int count = 1) {
        ASSERT_TRUE(until([&] { return pausing(); })) << "no single-key pause waits";
        ASSERT_EQ(::write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
        released += count;
        ASSERT_TRUE(shows(MARKERS[released - 1])) << "the keys were swallowed or killed the child";
        if (released < 3) {
            EXPECT_FALSE(shows(MARKERS[released], QUIET)) << "more than " << count << " ended";
        }
    }
    void type_to_the_end(const std::string& expected = ALL_RELEASED) {
        type_to_the_end(expected, initial);
    }
    void type_to_the_end(const std::string& expected, const termios& settings) {
        while (released < 3 && !HasFatalFailure()) {
            type("Z");
        }
        EXPECT_EQ(out, expected);
        EXPECT_TRUE(same_settings(slave, settings));
    }
};

struct Keys {
    const char* what;
    std::string keys;
    int pauses_released;
};
void PrintTo(const Keys& keys, std::ostream* out) {
    *out << keys.what;
}
class TypedKeys : public PauseTest, public ::testing::WithParamInterface<Keys> {};

// Each key releases one pause, unechoed and whole, so the next pause waits for its own key;
// afterwards the terminal settings are as they were.
TEST_P(TypedKeys, ReleaseOnePauseEach) {
    spawn(pause_three_times);
    type(GetParam().keys, GetParam().pauses_released);
    type_to_the_end();
}
// A byte that can't continue a UTF-8 character (octal escapes: \351 is a Latin-1 e-acute,
// \303 a UTF-8 lead byte) is the next key press.
const Keys KEYS[] = {{"Ctrl-C", "\x03", 1},
                     {"Ctrl-S", "\x13", 1},
                     {"lone Esc", "\x1b", 1},
                     {"arrow", "\x1b[A", 1},
                     {"SS3 Shift-F1", "\x1bO2P", 1},
                     {"F5", "\x1b[15~", 1},
                     {"text-console F1", "\x1b[[A", 1},
                     {"Alt-arrow", "\x1b\x1b[A", 1},
                     {"two-byte UTF-8", "\xc3\xa9", 1},
                     {"four-byte UTF-8", "\xf0\x9f\x98\x80", 1},
                     {"e-acute in Latin-1, a, b", "\351ab", 3},
                     {"UTF-8 lead byte, a", "\303a", 2},
                     {"Alt, UTF-8 lead byte, a", "\x1b\303a", 2}};
INSTANTIATE_TEST_SUITE_P(Keys, TypedKeys, ::testing::ValuesIn(KEYS));

struct Job {
    int stop;
    bool background;
};
class JobControl : public PauseTest, public ::testing::WithParamInterface<Job> {};

// Under a shell (see `shell`): the pause saves the user's settings, not the line editor's,
// restores them while stopped and at its end, and after each `fg` is in raw mode again, so
// that one key still releases exactly one pause.
TEST_P(JobControl, StopsWithTheUsersSettingsAndGoesOnAfterFg) {
    termios editor = initial;
    editor.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    spawn([&] { shell(initial, editor, GetParam().stop, GetParam().background); });
    ASSERT_TRUE(shows("[fg]"));
    type("a");
    type_to_the_end(PROMPT + "[fg]" + ALL_RELEASED.substr(PROMPT.size()));
    int status = 0;
    ASSERT_TRUE(until([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
INSTANTIATE_TEST_SUITE_P(Shell, JobControl,
                         ::testing::Values(Job{SIGTSTP, true}, Job{SIGTSTP, false},
                                           Job{SIGTTIN, false}, Job{SIGTTOU, false}));

class OutsideStop : public PauseTest, public ::testing::WithParamInterface<bool> {};

// A stop the pause can't handle (SIGSTOP from outside), with the terminal put back to cooked
// mode with echo while stopped, as a shell does, the same as before or with the user's other
// settings: once continued, the pause is in raw mode again, so that one key, unechoed, ends
// it, and the settings put back afterwards are those of the stop.
TEST_P(OutsideStop, RawAgainOnceContinuedThenTheSettingsOfTheStop) {
    termios cooked = initial;
    if (GetParam()) {
        cooked.c_cc[VERASE] = 0x08;
        cooked.c_lflag &= ~static_cast<tcflag_t>(ECHOK);
    }
    spawn(pause_three_times);
    ASSERT_TRUE(until([&] { return pausing(); }));
    ::kill(pid, SIGSTOP);
    int status = 0;
    ASSERT_TRUE(::waitpid(pid, &status, WUNTRACED) == pid && WIFSTOPPED(status));
    ASSERT_EQ(::tcsetattr(slave, TCSANOW, &cooked), 0);
    ::kill(pid, SIGCONT);
    type_to_the_end(ALL_RELEASED, cooked);
}
INSTANTIATE_TEST_SUITE_P(Settings, OutsideStop, ::testing::Values(false, true));

TEST_F(PauseTest, TerminationDuringThePauseRestoresTheTerminal) {
    spawn(pause_three_times);
    ASSERT_TRUE(until([&] { return pausing(); }));
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_TRUE(until([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_TRUE(same_settings(slave, initial));
}

TEST_F(PauseTest, ReturnsAtOnceWithoutAControllingTerminal) {
    spawn(pause_three_times, false);
    EXPECT_TRUE(shows("<3>"));
    EXPECT_EQ(out, ALL_RELEASED);
}

} // namespace
} // namespace ordimet
