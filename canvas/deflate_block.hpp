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

// A place to write bits to, lowest first, as deflate packs them, with
// room made for it. Kept in locals while a block is written: stores through
// a byte pointer could touch any member, so a writer reached through a
// reference would reload its own state after every one.
struct BitCursor {
    std::uint8_t* next;     // where the bits not yet whole bytes go
    std::uint64_t pending;  // those bits
    int held;               // how many: 0 to 7 between puts
    // Up to 56 bits.
    void put(std::uint64_t bits, int count) {
        pending |= bits << held;
        held += count;
        std::memcpy(next, &pending, 8);
        next += held >> 3;
        pending >>= held & ~7;
        held &= 7;
    }
};

// Bits appended lowest first to a buffer kept from stream to stream: it
// grows when a block needs room and never shrinks, so each stream does not
// clear the room again.
class DeflateBits {
public:
    DeflateBits(std::vector<std::uint8_t>& buffer, std::size_t at) : buffer_(buffer), at_(at) {}
    // A cursor with room for `bytes` more (and the eight a put may touch
    // past its last); nothing else may write to the buffer until it is
    // handed back to advance().
    BitCursor cursor(std::size_t bytes) {
        if (buffer_.size() < at_ + bytes + 8) buffer_.resize(at_ + bytes + 8);
        return {buffer_.data() + at_, pending_, held_};
    }
    void advance(const BitCursor& cursor) {
        at_ = static_cast<std::size_t>(cursor.next - buffer_.data());
        pending_ = cursor.pending, held_ = cursor.held;
    }
    // Whole bytes written so far; a stream sent on as it is made takes them
    // and starts the buffer again, the bits of a byte not yet whole kept.
    std::size_t whole_bytes() const { return at_; }
    void restart() { at_ = 0; }
    // A new stream from byte `at`.
    void start(std::size_t at) { at_ = at, pending_ = 0, held_ = 0; }
    // Whole bytes written so far, once finished: the last padded with zeros.
    std::size_t finish() {
        if (held_ > 0) cursor(1), buffer_[at_++] = static_cast<std::uint8_t>(pending_);
        pending_ = 0, held_ = 0;
        return at_;
    }

private:
    std::vector<std::uint8_t>& buffer_;
    std::size_t at_;
    std::uint64_t pending_ = 0;
    int held_ = 0;
};

// The symbols as one block with Huffman codes made for them, and its end.
void write_deflate_block(std::span<const DeflateSymbol> symbols, bool last, DeflateBits& bits);
