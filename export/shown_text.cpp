#include "export/shown_text.hpp"

namespace {
constexpr std::size_t longest_value = 80;
}  // namespace

std::string escaped_text(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (byte < 0x20 || byte == 0x7f) {
            static const char digits[] = "0123456789abcdef";
            out += "\\x";
            out += digits[byte >> 4];
            out += digits[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string shown(std::string_view value) {
    if (value.size() <= longest_value) return escaped_text(value);
    // Cut on a character's start, never inside a UTF-8 sequence.
    std::size_t cut = longest_value;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xc0) == 0x80) --cut;
    return escaped_text(value.substr(0, cut)) + "...";
}

std::string shown_path(std::string_view path) {
    if (path.size() <= longest_value) return escaped_text(path);
    // Start on a character's first byte, never inside a UTF-8 sequence.
    std::size_t start = path.size() - (longest_value - 3);
    while (start < path.size() && (static_cast<unsigned char>(path[start]) & 0xc0) == 0x80) ++start;
    return "..." + escaped_text(path.substr(start));
}
