#pragma once
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// One step of a deflate stream (RFC 1951): a literal byte (distance 0), or
// `value` bytes (3 to 258) copied from `distance` (1 to 32768) back.
struct DeflateSymbol {
    std::uint16_t value;
    std::uint16_t distance;
};

// Bits appended to a byte vector lowest first, as deflate packs them.
class DeflateBits {
public:
    explicit DeflateBits(std::vector<std::uint8_t>& out) : out_(out), at_(out.size()) {}
    // Room for `bytes` more, and the eight a put may touch past its last.
    void reserve(std::size_t bytes) {
        if (out_.size() < at_ + bytes + 8) out_.resize(at_ + bytes + 8);
    }
    // Up to 56 bits, within the room reserved.
    void put(std::uint64_t bits, int count) {
        pending_ |= bits << held_;
        held_ += count;
        std::memcpy(out_.data() + at_, &pending_, 8);
        at_ += static_cast<std::size_t>(held_ >> 3);
        pending_ >>= held_ & ~7;
        held_ &= 7;
    }
    // The last byte padded with zeros; the vector cut to what was written.
    void finish() {
        if (held_ > 0) reserve(1), out_[at_++] = static_cast<std::uint8_t>(pending_);
        pending_ = 0, held_ = 0;
        out_.resize(at_);
    }

private:
    std::vector<std::uint8_t>& out_;
    std::size_t at_;
    std::uint64_t pending_ = 0;
    int held_ = 0;  // bits in pending_ not yet whole bytes: 0 to 7 between puts
};

// The symbols as one block with Huffman codes made for them, and its end.
void write_deflate_block(std::span<const DeflateSymbol> symbols, bool last, DeflateBits& bits);
