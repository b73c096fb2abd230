#pragma once
#include <cstdint>
#include <span>

// Code lengths for symbols seen counts[i] times (at most 288 symbols), none
// longer than `longest` bits (at most 15): a Huffman code, its deepest codes
// lifted to `longest` where they would go past it. The code is always complete, as inflaters
// want it: with fewer than two symbols seen, symbols 0 and 1 get a bit each.
// Symbols never seen get length 0.
void huffman_lengths(std::span<const std::uint32_t> counts, int longest, std::span<std::uint8_t> lengths);

// The canonical code of each length (deflate's: shorter codes first, equal
// lengths in symbol order), bit-reversed for a writer that sends the lowest
// bit first.
void canonical_codes(std::span<const std::uint8_t> lengths, std::span<std::uint16_t> codes);
