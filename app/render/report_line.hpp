#pragma once
#include "export/shown_text.hpp"

#include <cstdio>
#include <string>
#include <string_view>

// The one line brannoc-render prints for a failure or a stop:
// "brannoc-render: " and the message, control characters escaped.
std::string report_text(std::string_view message);
void report_line(std::FILE* report, std::string_view message);
