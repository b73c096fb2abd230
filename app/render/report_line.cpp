#include "app/render/report_line.hpp"

std::string report_text(std::string_view message) { return "brannoc-render: " + escaped_text(message); }

void report_line(std::FILE* report, std::string_view message) {
    const std::string line = report_text(message) + "\n";
    std::fputs(line.c_str(), report);
    std::fflush(report);
}
