#include "canvas/content_hash.hpp"

#include <cstdio>

std::string ContentHash::hex() const {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value_));
    return text;
}

std::string content_hash_hex(const void* data, std::size_t size) {
    ContentHash hash;
    hash.add(data, size);
    return hash.hex();
}
