#pragma once
#include <string>
#include <string_view>

// Text from the user as a message shows it: control characters escaped
// (\n, \t, \x1b, ...) so a line stays one line on a terminal and in a log.
std::string escaped_text(std::string_view text);

// A value from the user as an error line shows it: escaped, and cut to 80
// characters with "..." so it stays readable.
std::string shown(std::string_view value);

// A path from the user as a message shows it: escaped and, when long, cut
// at its start to its last 80 characters behind "...", so the file's own
// name stays in view.
std::string shown_path(std::string_view path);
