#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// A value from the user as an error line shows it: control characters
// escaped (\n, \t, \x1b, ...) so the line stays one line on a terminal and
// in a log, and cut to 80 characters with "..." so it stays readable.
std::string shown(std::string_view value);

// The one line brannoc-render prints for a failure or a stop:
// "brannoc-render: " and the message, control characters escaped.
std::string report_text(std::string_view message);
void report_line(std::FILE* report, std::string_view message);
