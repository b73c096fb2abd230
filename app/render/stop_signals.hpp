#pragma once
#include <csignal>

// SIGINT and SIGTERM, while one of these lives, only ask the run to stop:
// the handler sets a flag (all a handler may safely do), the workers stop
// at their next tile, and the main thread tidies up and reports. The
// previous handlers are back once it is gone.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked to stop, 0 while none has.
    static int received();

private:
    struct sigaction old_int_ {
    }, old_term_{};
};

// The exit status of a program a signal stopped: 128 + its number.
inline int exit_code_for_signal(int signal) { return 128 + signal; }
