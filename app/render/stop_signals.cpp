#include "app/render/stop_signals.hpp"

#include <atomic>

namespace {
// Lock-free, so touching it from a handler is safe.
std::atomic<int> stop_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void ask_to_stop(int signal) {
    int none = 0;
    stop_signal.compare_exchange_strong(none, signal);
}
}  // namespace

StopSignals::StopSignals() {
    stop_signal = 0;
    struct sigaction action {};
    action.sa_handler = ask_to_stop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &old_int_);
    ::sigaction(SIGTERM, &action, &old_term_);
}

StopSignals::~StopSignals() {
    ::sigaction(SIGINT, &old_int_, nullptr);
    ::sigaction(SIGTERM, &old_term_, nullptr);
}

int StopSignals::received() { return stop_signal.load(); }
