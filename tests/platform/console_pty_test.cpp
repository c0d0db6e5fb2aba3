// The key-press pause driven through a pseudo-terminal: the child process has
// the terminal as its controlling terminal and pauses; the test plays the
// keyboard on the master side and watches the output and the terminal settings.
#include "driver/support/support.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

namespace ordimet {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLongMs = 10000; // bound for anything that must happen
constexpr int kQuietMs = 150;  // how long a waiting pause must stay silent
const std::string kPrompt = "\nPressione uma tecla para continuar...\n";
const std::string kPromptOnTty = "\r\nPressione uma tecla para continuar...\r\n";

// Waits for the process to end; kills it when it has not ended in time.
int reap(pid_t pid) {
    int status = 0;
    for (const auto end = Clock::now() + std::chrono::milliseconds(kLongMs);;) {
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            return status;
        }
        if (Clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "the child did not end in time";
            return status;
        }
        ::usleep(5000);
    }
}

void write_marker(const char* text) {
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, text, std::strlen(text));
}

void two_pauses() {
    wait_for_key();
    write_marker("<1>");
    wait_for_key();
    write_marker("<2>");
}

// A child process whose controlling terminal is a fresh pseudo-terminal. The
// test keeps the slave side open too, so it can still read the terminal
// settings after the child is gone.
struct PtyChild {
    int master = -1;
    int slave = -1;
    pid_t pid = -1;
    termios initial{};
    std::string output; // everything the child has written so far

    PtyChild() = default;
    PtyChild(const PtyChild&) = delete;
    PtyChild& operator=(const PtyChild&) = delete;
    ~PtyChild() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        for (const int fd : {master, slave}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    bool start(void (*body)()) {
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0 ||
            ::tcgetattr(slave, &initial) != 0) {
            return false;
        }
        std::fflush(nullptr);
        pid = ::fork();
        if (pid == 0) {
            ::close(master);
            // New session with the slave as controlling terminal and as
            // standard output; standard input is empty, so a pause that read
            // it instead of the terminal would return at once.
            if (::login_tty(slave) != 0) {
                ::_exit(90);
            }
            const int null = ::open("/dev/null", O_RDONLY);
            ::dup2(null, STDIN_FILENO);
            for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
                ::signal(sig, SIG_DFL);
            }
            body();
            ::_exit(0);
        }
        return pid > 0;
    }

    // Collects output until `done` holds or `ms` have passed.
    bool wait_until(const std::function<bool()>& done, int ms) {
        for (const auto end = Clock::now() + std::chrono::milliseconds(ms); !done();) {
            if (Clock::now() > end) {
                return false;
            }
            pollfd p{master, POLLIN, 0};
            char buffer[256];
            if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN) != 0) {
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                output.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            }
        }
        return true;
    }
    bool has(std::string_view text) const { return output.find(text) != std::string::npos; }
    bool wait_for_output(std::string_view text, int ms = kLongMs) {
        return wait_until([&] { return has(text); }, ms);
    }
    termios settings() const {
        termios now{};
        ::tcgetattr(slave, &now);
        return now;
    }
    bool in_pause() const { return (settings().c_lflag & ICANON) == 0; }
    // Waits until the terminal is switched to single-key input, or until the
    // child writes `marker` because its pause did not wait at all.
    bool wait_for_pause(std::string_view marker) {
        wait_until([&] { return in_pause() || has(marker); }, kLongMs);
        return in_pause();
    }
    void type(std::string_view keys) const {
        ASSERT_EQ(::write(master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    int finish() {
        const int status = reap(pid);
        pid = -1;
        return status;
    }
};

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::equal(a.c_cc, a.c_cc + NCCS, b.c_cc) &&
           cfgetispeed(&a) == cfgetispeed(&b) && cfgetospeed(&a) == cfgetospeed(&b);
}

#define START_OR_SKIP(child, body)                                                                 \
    if (!(child).start(body)) {                                                                    \
        GTEST_SKIP() << "no pseudo-terminal available";                                            \
    }

struct Key {
    const char* what;
    std::string bytes;
};

class OneKeyPress : public ::testing::TestWithParam<Key> {};

// The key releases the first pause only: the second pause still waits until
// a plain key follows. Nothing is echoed, the child survives and the terminal
// settings are back to what they were.
TEST_P(OneKeyPress, ReleasesExactlyOnePause) {
    PtyChild child;
    START_OR_SKIP(child, two_pauses);
    EXPECT_TRUE(child.wait_for_pause("<1>"));
    EXPECT_FALSE(child.wait_for_output("<1>", kQuietMs)) << "returned before any key";
    child.type(GetParam().bytes);
    ASSERT_TRUE(child.wait_for_output("<1>"));
    EXPECT_TRUE(child.wait_for_pause("<2>"));
    EXPECT_FALSE(child.wait_for_output("<2>", kQuietMs)) << "part of the key was left over";
    child.type("Z");
    ASSERT_TRUE(child.wait_for_output("<2>"));
    const int status = child.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(child.output, kPromptOnTty + "<1>" + kPromptOnTty + "<2>");
    EXPECT_TRUE(same_settings(child.initial, child.settings()));
}

INSTANTIATE_TEST_SUITE_P(
    Pause, OneKeyPress,
    ::testing::Values(Key{"plain letter", "y"}, Key{"Enter", "\r"}, Key{"Ctrl-C", "\x03"},
                      Key{"Ctrl-Z", "\x1a"}, Key{"Ctrl-backslash", "\x1c"}, Key{"Ctrl-S", "\x13"},
                      Key{"Ctrl-V", "\x16"}, Key{"Escape alone", "\x1b"}, Key{"arrow up", "\x1b[A"},
                      Key{"F1", "\x1bOP"}, Key{"Shift-F1 as SS3", "\x1bO2P"}, Key{"F5", "\x1b[15~"},
                      Key{"Shift-F1", "\x1b[1;2P"}, Key{"F1 on the text console", "\x1b[[A"},
                      Key{"Alt-x", "\x1bx"}, Key{"Alt-arrow", "\x1b\x1b[A"},
                      Key{"two-byte character", "\xc3\xa9"}, Key{"Alt-two-byte", "\x1b\xc3\xa9"},
                      Key{"four-byte character", "\xf0\x9f\x98\x80"}),
    [](const auto& param_info) {
        std::string name;
        for (const char c : std::string(param_info.param.what)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

class EndingSignal : public ::testing::TestWithParam<int> {};

TEST_P(EndingSignal, EndsTheProcessAndRestoresTheTerminal) {
    PtyChild child;
    START_OR_SKIP(child, two_pauses);
    ASSERT_TRUE(child.wait_for_pause("<1>"));
    ::kill(child.pid, GetParam());
    const int status = child.finish();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << "status " << status;
    EXPECT_TRUE(same_settings(child.initial, child.settings()));
}

INSTANTIATE_TEST_SUITE_P(Pause, EndingSignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

void pause_ignoring_hangups() {
    ::signal(SIGHUP, SIG_IGN);
    wait_for_key();
}

TEST(Pause, ReturnsWhenTheTerminalHangsUpUnderNohup) {
    PtyChild child;
    START_OR_SKIP(child, pause_ignoring_hangups);
    ASSERT_TRUE(child.wait_for_pause("<1>"));
    ::close(child.master);
    child.master = -1;
    const int status = child.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST(Pause, ReturnsAtOnceWithoutAControllingTerminal) {
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        wait_for_key();
        ::_exit(0);
    }
    ASSERT_GT(pid, 0);
    ::close(out[1]);
    std::string text;
    char buffer[256];
    pollfd p{out[0], POLLIN, 0};
    for (ssize_t n = 1; n > 0 && ::poll(&p, 1, kLongMs) > 0;) {
        n = ::read(out[0], buffer, sizeof buffer);
        text.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    ::close(out[0]);
    const int status = reap(pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(text, kPrompt);
}

} // namespace
} // namespace ordimet
