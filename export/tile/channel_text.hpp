#pragma once
#include "export/problem.hpp"
#include "generators/common/river_channel.hpp"

#include <string>

// A river channel as --channel writes it: the edges the water enters by,
// then '>', then the edge it leaves by, each ne, se, sw or nw with an
// optional width from 1 (the default) to 3 after a colon: "nw,ne:2>se:2".
// Nothing before '>' is a spring (or water leaving the tile's lake or sea),
// nothing after it water ending in the tile's sea or lake.
std::string channel_text(const RiverChannel& channel);
// Where the channel's water runs, as the edge it leaves by: "se", ...; a
// channel ending in its tile's water runs on away from the edge it came by.
std::string channel_flow(const RiverChannel& channel);
// Reads the text into `channel`; the problem in a sentence otherwise.
Problem read_channel(const std::string& text, RiverChannel& channel);
