// The key-press pause in a child process whose controlling terminal is a pseudo-terminal:
// the test types on the master side and watches the child's output and the terminal settings.
#include "driver/support/support.hpp"

#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
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
constexpr std::chrono::milliseconds kLong{10000}; // bound for anything that must happen
constexpr std::chrono::milliseconds kQuiet{150};  // how long a waiting pause must stay silent
const std::string kPrompt = "\r\nPressione uma tecla para continuar...\r\n";

class PauseTest : public ::testing::Test {
  protected:
    int master = -1, slave = -1; // the test keeps the slave open to read the settings
    pid_t pid = -1;
    termios initial{}, now{};
    std::string out; // everything the child has written so far

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
    // The child pauses twice and writes <1> and <2> after the pauses; the terminal is its standard
    // output, its controlling terminal only `with_tty`. Its empty standard input must not be read.
    void spawn(bool with_tty) {
        std::fflush(nullptr);
        pid = ::fork();
        if (pid == 0) {
            ::signal(SIGTERM, SIG_DFL);
            if (with_tty ? ::login_tty(slave) != 0
                         : ::setsid() < 0 || ::dup2(slave, STDOUT_FILENO) < 0) {
                ::_exit(90);
            }
            ::dup2(::open("/dev/null", O_RDONLY), STDIN_FILENO);
            for (const char* marker : {"<1>", "<2>"}) {
                wait_for_key();
                [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, marker, 3);
            }
            ::_exit(0);
        }
        ASSERT_GT(pid, 0);
    }
    // Collects the child's output until `done` holds or `limit` has passed.
    template <class Done> bool until(Done done, std::chrono::milliseconds limit = kLong) {
        bool ok = false;
        for (const auto end = Clock::now() + limit; !(ok = done()) && Clock::now() < end;) {
            pollfd p{master, POLLIN, 0};
            char buffer[256];
            const ssize_t n = ::poll(&p, 1, 5) > 0 ? ::read(master, buffer, sizeof buffer) : 0;
            out.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
        }
        return ok;
    }
    bool shows(const char* text, std::chrono::milliseconds limit = kLong) {
        return until([&] { return has(text); }, limit);
    }
    bool has(const char* text) const { return out.find(text) != std::string::npos; }
    bool pausing() { return ::tcgetattr(slave, &now) == 0 && (now.c_lflag & ICANON) == 0; }
    bool settings_unchanged() { // compares the mode flags and the control characters
        return ::tcgetattr(slave, &now) == 0 &&
               std::memcmp(&now, &initial, offsetof(termios, c_cc) + NCCS) == 0;
    }
};

class OneKey : public PauseTest, public ::testing::WithParamInterface<std::string> {};

// The key releases the first pause, unechoed and whole: the second pause still
// waits for its own key. Afterwards the terminal settings are as they were.
TEST_P(OneKey, ReleasesExactlyOnePause) {
    spawn(true);
    for (const char* marker : {"<1>", "<2>"}) {
        ASSERT_TRUE(until([&] { return pausing() || has(marker); }) && pausing())
            << "no waiting single-key pause before " << marker;
        EXPECT_FALSE(shows(marker, kQuiet)) << "returned before its key";
        const std::string key = marker[1] == '1' ? GetParam() : "Z";
        ASSERT_EQ(::write(master, key.data(), key.size()), static_cast<ssize_t>(key.size()));
        ASSERT_TRUE(shows(marker)) << "the key was swallowed or killed the child";
    }
    EXPECT_EQ(out, kPrompt + "<1>" + kPrompt + "<2>");
    EXPECT_TRUE(settings_unchanged());
}

// Ctrl-C, Ctrl-S, lone Esc, arrow, SS3 Shift-F1, F5, text-console F1, Alt-arrow, two-byte UTF-8
INSTANTIATE_TEST_SUITE_P(Keys, OneKey,
                         ::testing::Values("\x03", "\x13", "\x1b", "\x1b[A", "\x1bO2P", "\x1b[15~",
                                           "\x1b[[A", "\x1b\x1b[A", "\xc3\xa9"));

TEST_F(PauseTest, TerminationDuringThePauseRestoresTheTerminal) {
    spawn(true);
    ASSERT_TRUE(until([&] { return pausing(); }));
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_TRUE(until([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }));
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_TRUE(settings_unchanged());
}

TEST_F(PauseTest, ReturnsAtOnceWithoutAControllingTerminal) {
    spawn(false);
    EXPECT_TRUE(shows("<2>"));
    EXPECT_EQ(out, kPrompt + "<1>" + kPrompt + "<2>");
}

} // namespace
} // namespace ordimet
