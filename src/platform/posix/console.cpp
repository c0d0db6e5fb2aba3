#include "platform/console.hpp"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace ordimet::platform {
namespace {

// The terminal settings to put back when a signal ends the process during
// the pause. Only the signal handler and the pause itself touch these.
volatile sig_atomic_t g_tty_fd = -1;
termios g_saved_settings{};

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};
constexpr std::size_t kSignalCount = sizeof kEndingSignals / sizeof kEndingSignals[0];

extern "C" void restore_and_reraise(int sig) {
    const int fd = g_tty_fd;
    if (fd >= 0) {
        ::tcsetattr(fd, TCSANOW, &g_saved_settings);
    }
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

// Reads one byte, waiting at most `timeout_ms` (-1: without limit).
// Returns the byte, or -1 on timeout, end of input or error.
int read_byte(int fd, int timeout_ms) {
    pollfd pfd{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&pfd, 1, timeout_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0 || (pfd.revents & POLLIN) == 0) {
        return -1;
    }
    unsigned char byte;
    ssize_t got;
    do {
        got = ::read(fd, &byte, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1 ? byte : -1;
}

// The bytes that belong to the same key press arrive together; a short wait
// separates them from a following key press.
constexpr int kSequenceGapMs = 50;

// Consumes the continuation bytes of a multi-byte UTF-8 character whose
// first byte was `first`.
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
        if (read_byte(fd, kSequenceGapMs) < 0) {
            return;
        }
    }
}

// Consumes parameter and intermediate bytes up to the final byte (0x40..0x7e)
// of a control sequence.
void consume_to_final_byte(int fd) {
    for (int b = read_byte(fd, kSequenceGapMs); b >= 0 && !(b >= 0x40 && b <= 0x7e);
         b = read_byte(fd, kSequenceGapMs)) {
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
    int second = read_byte(fd, kSequenceGapMs);
    if (second == 0x1b) {
        // Alt+extended key on terminals that send Alt as an ESC prefix.
        second = read_byte(fd, kSequenceGapMs);
    }
    if (second == '[') {
        // The text console sends F1..F5 as ESC [ [ A..E: the second '[' is
        // not a final byte there but the start of a one-byte tail.
        const int third = read_byte(fd, kSequenceGapMs);
        if (third == '[') {
            read_byte(fd, kSequenceGapMs);
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
    int fd;
    do {
        fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return; // no controlling terminal
    }
    termios saved{};
    if (::tcgetattr(fd, &saved) != 0) {
        ::close(fd);
        return;
    }
    termios raw = saved;
    // One byte at a time, no echo, and Ctrl-C, Ctrl-Z, Ctrl-S... arrive as
    // ordinary keys instead of signals or flow control.
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;

    g_saved_settings = saved;
    g_tty_fd = fd;
    struct sigaction handler {};
    handler.sa_handler = restore_and_reraise;
    sigemptyset(&handler.sa_mask);
    struct sigaction previous[kSignalCount] {};
    for (std::size_t i = 0; i < kSignalCount; ++i) {
        // A signal that the process ignores (nohup) stays ignored.
        ::sigaction(kEndingSignals[i], nullptr, &previous[i]);
        if (previous[i].sa_handler != SIG_IGN) {
            ::sigaction(kEndingSignals[i], &handler, nullptr);
        }
    }

    if (::tcsetattr(fd, TCSANOW, &raw) == 0) {
        const int first = read_byte(fd, -1);
        if (first >= 0) {
            consume_rest_of_key(fd, first);
        }
        ::tcsetattr(fd, TCSANOW, &saved);
    }

    for (std::size_t i = 0; i < kSignalCount; ++i) {
        ::sigaction(kEndingSignals[i], &previous[i], nullptr);
    }
    g_tty_fd = -1;
    ::close(fd);
}

} // namespace ordimet::platform
