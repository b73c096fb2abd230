#pragma once
#include "export/problem.hpp"
#include "generators/common/road_track.hpp"

#include <string>

// A road's track as --road writes it: the edges it leaves the cell by, each
// ne, se, sw or nw, separated by commas, then ":bridge" for a bridge over
// the cell's water: "ne,sw", "se", "nw,se:bridge".
std::string road_text(const RoadTrack& road);
// Reads the text into `road`; the problem in a sentence otherwise.
Problem read_road(const std::string& text, RoadTrack& road);
