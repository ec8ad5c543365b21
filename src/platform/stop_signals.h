#pragma once

#include <functional>

namespace livrax::platform {

// The program's answer to SIGINT and SIGTERM (Ctrl-C, a shutdown, `kill`):
// the job that is running ends as a failure (no output file, the old one
// stays), and the program leaves through its normal shut-down. SIGXFSZ is
// ignored, so a file-size limit makes a write fail with an error the writer
// reports instead of killing the program.
//
// Call first thing in main, before any thread starts: the signals are then
// blocked in every thread and taken by a watcher thread of their own, so no
// thread is interrupted by them and no handler another library (the database
// client) installs ever runs.
void InstallStopSignals();

// The signal received (SIGINT, SIGTERM), 0 while none came.
int StopSignal();
inline bool StopRequested() {
    return StopSignal() != 0;
}
// The name of the signal received ("SIGTERM"), for messages; empty while none came.
const char* StopSignalName();

// Runs `handler` (from the watcher thread) when a stop signal arrives; every
// handler registered runs once. Handlers must be
// thread-safe: post to the main thread to touch windows.
void OnStopSignal(std::function<void()> handler);

} // namespace livrax::platform
