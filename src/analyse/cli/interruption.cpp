#include "analyse/cli/interruption.hpp"

#include <csignal>
#include <initializer_list>
#include <unistd.h>

namespace ordimet::analyse {
namespace {

// The one thing the handler does: note the signal.
volatile std::sig_atomic_t g_interruption = 0;

extern "C" void note_interruption(int sig) {
    g_interruption = sig;
}

} // namespace

void catch_interruptions() {
    for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (::sigaction(sig, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) {
            continue; // nohup's SIGHUP, a background job's SIGINT
        }
        struct sigaction action {};
        action.sa_handler = note_interruption;
        sigemptyset(&action.sa_mask);
        // SA_RESTART: a write in progress goes on, so that the line it
        // writes is whole. SA_RESETHAND: a second signal of the kind acts at
        // once, for a run whose output is blocked by a reader that has
        // stopped reading.
        action.sa_flags = static_cast<int>(SA_RESTART | SA_RESETHAND);
        ::sigaction(sig, &action, nullptr);
    }
}

int interruption() {
    return g_interruption;
}

void end_by_signal(int sig) {
    ::signal(sig, SIG_DFL);
    sigset_t just_this;
    sigemptyset(&just_this);
    sigaddset(&just_this, sig);
    ::sigprocmask(SIG_UNBLOCK, &just_this, nullptr);
    ::raise(sig);
    ::_exit(128 + sig); // not reached: the default action of these signals ends the process
}

} // namespace ordimet::analyse
