#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// FNV-1a, 64 bits: a file's fingerprint in a manifest, so that a merge can
// tell the bytes a run wrote from any others of the same size. Not a
// defence against someone forging files on purpose; fast, small and with
// no dependency.
class ContentHash {
public:
    void add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t k = 0; k < size; ++k) value_ = (value_ ^ bytes[k]) * 0x100000001b3ULL;
    }
    std::uint64_t value() const { return value_; }
    // Sixteen lower-case hex digits.
    std::string hex() const;

private:
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

std::string content_hash_hex(const void* data, std::size_t size);
