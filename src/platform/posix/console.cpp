#include "platform/console.hpp"

#include "platform/posix/retry.hpp"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace ordimet::platform {
namespace {

// What the pause shares with its signal handlers: the terminal, the user's
// settings to put back, whether the terminal is in the pause's raw mode now,
// and whether the process has been continued after a stop. The handlers run
// only while the pause waits (the signals they handle are blocked otherwise),
// so they always see these consistent.
volatile sig_atomic_t g_tty_fd = -1;
termios g_saved_settings{};
volatile sig_atomic_t g_raw = 0;
volatile sig_atomic_t g_continued = 0;

// A byte read while looking for the end of a key press that turned out to
// begin the next one. The terminal can't take a byte back, so it is kept here
// and the next pause starts with it; that pause then returns without waiting.
// It lives at file scope because the pause takes no arguments and keeps no
// other state between calls; no signal handler touches it.
int g_read_ahead = -1;

// Puts the user's settings back if the terminal is in raw mode. Async-signal-safe.
// Only the terminal's foreground process group may set it: after a stop the
// pause did not see (SIGSTOP) and a move to the background, the settings are
// the new foreground owner's.
void leave_raw_mode() {
    if (g_raw != 0 && ::tcgetpgrp(g_tty_fd) == ::getpgrp()) {
        ::tcsetattr(g_tty_fd, TCSANOW, &g_saved_settings);
        g_raw = 0;
    }
}

// Takes the default action of `sig` at once, from inside its handler, and
// puts the handler back afterwards (after a stop, once continued).
// Async-signal-safe.
void act_by_default(int sig) {
    struct sigaction by_default {};
    struct sigaction handling {};
    by_default.sa_handler = SIG_DFL;
    sigemptyset(&by_default.sa_mask);
    ::sigaction(sig, &by_default, &handling);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, sig);
    ::raise(sig);
    ::sigprocmask(SIG_UNBLOCK, &just_this, nullptr); // the signal acts here
    ::sigaction(sig, &handling, nullptr);
}

// A signal that ends the process: the terminal is put back first.
extern "C" void restore_and_end(int sig) {
    leave_raw_mode();
    act_by_default(sig);
}

// A stop signal: the user's settings go back, for the shell that takes the
// terminal, and the process stops as it would without the pause. Once it is
// continued, the key read puts the terminal into raw mode again.
extern "C" void restore_and_stop(int sig) {
    const int saved_errno = errno;
    leave_raw_mode();
    act_by_default(sig);
    errno = saved_errno;
}

// Runs inside restore_and_stop when the process is continued, and on its own
// when the process is continued after a stop that the pause couldn't handle
// (SIGSTOP).
extern "C" void note_continued(int) {
    g_continued = 1;
}

struct Handling {
    int signal;
    void (*handler)(int);
};
constexpr Handling HANDLING[] = {{SIGTERM, restore_and_end},  {SIGHUP, restore_and_end},
                                 {SIGINT, restore_and_end},   {SIGQUIT, restore_and_end},
                                 {SIGTSTP, restore_and_stop}, {SIGTTIN, restore_and_stop},
                                 {SIGTTOU, restore_and_stop}, {SIGCONT, note_continued}};
constexpr std::size_t HANDLED = sizeof HANDLING / sizeof HANDLING[0];

// The pause's signal handlers, for as long as this lives. The signals they
// handle are blocked except while the pause waits for a key or to be
// continued; blocked SIGTTOU also lets the pause set the terminal. A signal
// that the process ignores or blocks stays so; SIGCONT is always noted.
class PauseSignals {
  public:
    PauseSignals() {
        sigset_t handled;
        sigemptyset(&handled);
        for (const Handling& h : HANDLING) {
            sigaddset(&handled, h.signal);
        }
        ::sigprocmask(SIG_BLOCK, &handled, &waiting_);
        for (std::size_t i = 0; i < HANDLED; ++i) {
            const int sig = HANDLING[i].signal;
            ::sigaction(sig, nullptr, &previous_[i]);
            installed_[i] = sig == SIGCONT || (previous_[i].sa_handler != SIG_IGN &&
                                               sigismember(&waiting_, sig) == 0);
            if (installed_[i]) {
                struct sigaction action {};
                action.sa_handler = HANDLING[i].handler;
                action.sa_mask = handled;
                if (HANDLING[i].handler == restore_and_stop) {
                    sigdelset(&action.sa_mask, SIGCONT); // noted while stopped in the handler
                }
                ::sigaction(sig, &action, nullptr);
            }
        }
    }
    ~PauseSignals() {
        for (std::size_t i = 0; i < HANDLED; ++i) {
            if (installed_[i]) {
                ::sigaction(HANDLING[i].signal, &previous_[i], nullptr);
            }
        }
        ::sigprocmask(SIG_SETMASK, &waiting_, nullptr);
    }
    PauseSignals(const PauseSignals&) = delete;
    PauseSignals& operator=(const PauseSignals&) = delete;

    // The signal mask while the pause waits: the caller's.
    const sigset_t& waiting() const { return waiting_; }
    bool handles(int sig) const {
        for (std::size_t i = 0; i < HANDLED; ++i) {
            if (HANDLING[i].signal == sig) {
                return installed_[i];
            }
        }
        return false;
    }

  private:
    sigset_t waiting_{};
    struct sigaction previous_[HANDLED] {};
    bool installed_[HANDLED]{};
};

// Waits until the process group owns the terminal. A group in the background
// stops itself with SIGTTIN, as the terminal stops a group that reads in the
// background, and looks again once continued; in the meantime the terminal
// stays as its owner has set it. Returns false when the terminal can't be had:
// it has gone, or the group can't stop (SIGTTIN ignored, or an orphaned group,
// which the system doesn't stop because no shell is left to continue it).
bool wait_for_foreground(int fd, const PauseSignals& signals) {
    for (;;) {
        const pid_t owner = ::tcgetpgrp(fd);
        if (owner == ::getpgrp()) {
            return true;
        }
        g_raw = 0; // the settings are the new owner's now, not to be overwritten
        if (owner < 0 || !signals.handles(SIGTTIN)) {
            return false;
        }
        g_continued = 0;
        ::kill(0, SIGTTIN);
        ::sigsuspend(&signals.waiting());
        if (g_continued == 0) {
            return false;
        }
    }
}

// The pause's raw mode made from the user's settings: one byte at a time, no
// echo, and Ctrl-C, Ctrl-Z, Ctrl-S... arrive as ordinary keys instead of
// signals or flow control.
termios raw_settings(const termios& user) {
    termios raw = user;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    return raw;
}

bool same_modes(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// Puts the terminal into raw mode, in the foreground. The settings to put
// back are read each time the terminal is taken anew or the process has been
// continued, whatever stopped it, so that they are the ones of the user at
// that moment: a shell that took the terminal during a stop, or anyone with
// stty, may have changed them, and puts back its cooked mode (not a line
// editor's, since the pause waits for the foreground first). Settings that
// are still the pause's own raw mode (a stop the pause could not see,
// SIGSTOP, and nobody touched the terminal) keep the ones read before.
bool enter_raw_mode(int fd, const PauseSignals& signals) {
    if (g_raw != 0 && g_continued == 0) {
        return true;
    }
    g_continued = 0;
    termios now{};
    if (!wait_for_foreground(fd, signals) || ::tcgetattr(fd, &now) != 0) {
        return false;
    }
    if (g_raw == 0 || !same_modes(now, raw_settings(g_saved_settings))) {
        g_saved_settings = now;
    }
    const termios raw = raw_settings(g_saved_settings);
    g_raw = 1;
    return ::tcsetattr(fd, TCSANOW, &raw) == 0;
}

// Reads the first byte of a key press in raw mode, waiting without limit; a
// stop, a continue or a move to the background while it waits are dealt with
// and the wait goes on. Returns -1 when no key can be read.
int read_first_byte(int fd, const PauseSignals& signals) {
    while (enter_raw_mode(fd, signals)) {
        if (g_read_ahead >= 0) {
            const int first = g_read_ahead;
            g_read_ahead = -1;
            return first;
        }
        // Standard output is watched too: when it is a pipe whose reader has
        // gone, the prompt went nowhere, and nobody will answer it.
        pollfd pfd[2] = {{fd, POLLIN, 0}, {STDOUT_FILENO, 0, 0}};
        const int ready = ::ppoll(pfd, 2, nullptr, &signals.waiting());
        if (ready < 0 && errno == EINTR) {
            continue; // a handler ran: enter_raw_mode sees to what it changed
        }
        if (ready <= 0 || (pfd[0].revents & POLLIN) == 0) {
            return -1;
        }
        unsigned char byte;
        const ssize_t got = retry_interrupted([&] { return ::read(fd, &byte, 1); });
        if (got == 1) {
            return byte;
        }
        if (got == 0 || ::tcgetpgrp(fd) == ::getpgrp()) {
            return -1;
        }
        g_raw = 0; // moved to the background (EIO): the settings are the new owner's
    }
    return -1;
}

// The bytes that belong to the same key press arrive together; a short wait
// separates them from a following key press.
constexpr int SEQUENCE_GAP_MS = 50;

// Reads one more byte of the key press under way. Returns -1 when none
// arrives within the gap, at the end of input or on error.
int read_next_byte(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    unsigned char byte;
    if (retry_interrupted([&] { return ::poll(&pfd, 1, SEQUENCE_GAP_MS); }) <= 0 ||
        (pfd.revents & POLLIN) == 0 ||
        retry_interrupted([&] { return ::read(fd, &byte, 1); }) != 1) {
        return -1;
    }
    return byte;
}

// Consumes the continuation bytes of a multi-byte UTF-8 character whose first
// byte was `first`. A byte that can't continue it (not 10xxxxxx) is the next
// key press, kept for the next pause.
void consume_utf8_continuation(int fd, int first) {
    int continuation = 0;
    if ((first & 0xe0) == 0xc0) {
        continuation = 1;
    } else if ((first & 0xf0) == 0xe0) {
        continuation = 2;
    } else if ((first & 0xf8) == 0xf0) {
        continuation = 3;
    }
    for (; continuation > 0; --continuation) {
        const int next = read_next_byte(fd);
        if (next < 0) {
            return;
        }
        if ((next & 0xc0) != 0x80) {
            g_read_ahead = next;
            return;
        }
    }
}

// Consumes parameter and intermediate bytes up to the final byte (0x40..0x7e)
// of a control sequence.
void consume_to_final_byte(int fd) {
    for (int b = read_next_byte(fd); b >= 0 && !(b >= 0x40 && b <= 0x7e); b = read_next_byte(fd)) {
    }
}

// Consumes the rest of a key press whose first byte was `first`: an escape
// sequence (arrows, function keys, Alt+key) or the continuation bytes of a
// multi-byte UTF-8 character.
void consume_rest_of_key(int fd, int first) {
    if (first != 0x1b) {
        consume_utf8_continuation(fd, first);
        return;
    }
    int second = read_next_byte(fd);
    if (second == 0x1b) {
        // Alt+extended key on terminals that send Alt as an ESC prefix.
        second = read_next_byte(fd);
    }
    if (second == '[') {
        // The text console sends F1..F5 as ESC [ [ A..E: the second '[' is
        // not a final byte there but the start of a one-byte tail.
        const int third = read_next_byte(fd);
        if (third == '[') {
            read_next_byte(fd);
        } else if (third >= 0 && !(third >= 0x40 && third <= 0x7e)) {
            consume_to_final_byte(fd);
        }
    } else if (second == 'O') {
        // SS3 (F1..F4, keypad), with optional modifier parameters as in ESC O 1 ; 2 P.
        consume_to_final_byte(fd);
    } else if (second >= 0) {
        consume_utf8_continuation(fd, second); // Alt+character
    }
}

} // namespace

void read_one_key() {
    const int fd =
        retry_interrupted([] { return ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC); });
    if (fd < 0) {
        return; // no controlling terminal
    }
    g_tty_fd = fd;
    {
        const PauseSignals signals;
        const int first = read_first_byte(fd, signals);
        if (first >= 0) {
            consume_rest_of_key(fd, first);
        }
        leave_raw_mode();
        g_raw = 0; // in the background the settings were the owner's to keep
    }
    g_tty_fd = -1;
    ::close(fd);
}

} // namespace ordimet::platform
