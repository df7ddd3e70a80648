// A test hook: when the environment variable FENLO_TABLE_TRACE names a file,
// the table (game and window) appends one line to it for each thing it takes or notices
// ("main 13", "second 16", "loaded 1", "alive 0", "phase 5", "reconnect
// host:port", "box " and the box text's first line), so that a test driving the
// program from outside can follow it. Without the variable nothing is written.
#pragma once

void TableTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
