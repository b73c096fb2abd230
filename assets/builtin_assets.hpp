#pragma once
#include <cstdint>
#include <span>

enum class BuiltinAsset { AboutImage, BoulderSheet, GroundSheet, BuildingSheet };

// The PNG bytes of a built-in image, embedded in the program at build time.
std::span<const std::uint8_t> builtin_asset(BuiltinAsset asset);
