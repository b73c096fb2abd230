#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct ReadResult {
    bool ok = false;
    std::vector<std::uint8_t> bytes;
    std::string error;  // the reason when ok is false, without the file's name
};

// Reads an input file that may be anything a user names: only a regular
// file is read (a folder, a FIFO, a device or /dev/zero behind a link is
// refused), opening never waits (a FIFO without a writer would block for
// ever), and a file above max_bytes is refused before it is read.
ReadResult read_regular_file(const std::string& path, std::size_t max_bytes);
