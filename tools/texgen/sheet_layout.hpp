#pragma once
#include "pixel_image.hpp"

#include <array>

// Sizes, grids and fixed colours of the four built-in images. The program
// addresses textures by cell, so these numbers are a contract with it.
namespace texgen {

constexpr int kSmallCell = 64;   // ground and boulder sheets
constexpr int kLargeCell = 128;  // building sheet

constexpr int kBuildingWidth = 776, kBuildingHeight = 774;  // 6 x 6 cells plus a spare margin
constexpr int kGroundWidth = 640, kGroundHeight = 512;      // 10 x 8 cells
constexpr int kBoulderWidth = 256, kBoulderHeight = 256;    // 4 x 4 cells

// Building sheet: cells 0..17 walls, 18..23 plasters, 24..35 roofs (six to a row).
constexpr int kWallCount = 18, kPlasterCount = 6, kRoofCount = 12;

// Ground sheet rows.
enum GroundRow : int {
    kDoorRow = 0,
    kWindowRow = 1,
    kFlatGrassRow = 2,
    kGrassRow = 3,
    kGroundRow = 4,
    kWaterRow = 5,
    kRockRow = 6,  // rows 6 and 7 hold twenty rocks and earths
};

// The ten flat grass colours of ground-sheet row 2; the grass colour chooser
// hands exactly these values to the terrain painter.
constexpr std::array<Rgb, 10> kFlatGrass = {{
    {1, 60, 0},
    {9, 65, 0},
    {17, 69, 0},
    {31, 76, 0},
    {44, 81, 0},
    {60, 86, 0},
    {65, 88, 0},
    {76, 92, 0},
    {118, 98, 2},
    {94, 98, 0},
}};

// Boulder-sheet row 3: light yellow-green, dark green, light yellow-green, dark
// green, taken from the grass colours above (cells 9 and 2).
constexpr Rgb kBoulderLightGreen = {94, 98, 0};
constexpr Rgb kBoulderDarkGreen = {17, 69, 0};
constexpr std::array<Rgb, 4> kBoulderFlat = {
    {kBoulderLightGreen, kBoulderDarkGreen, kBoulderLightGreen, kBoulderDarkGreen}};

// Fills the building sheet's 8 spare right columns and 6 spare bottom rows.
constexpr Rgb kSpareColour = {64, 64, 64};

// Building-sheet pixels of exactly this colour are holes in a wall or roof.
constexpr Rgb kTransparentKey = {255, 0, 255};

}  // namespace texgen
