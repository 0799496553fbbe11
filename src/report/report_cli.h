#pragma once

// The whole `scheduler-report` command: options, reading, rendering. Returns
// the exit status: 0 for a report, 1 for a trace or file that cannot be
// reported, 2 for options that cannot be used.
int runReport(int argc, char** argv);
