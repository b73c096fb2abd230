#include "assets/builtin_assets.hpp"

// The PNG files are pulled into read-only data by the assembler, so the build
// needs no generated sources; the paths come from the build as definitions.
#define BRANNOC_EMBED(symbol, path)                                                                                    \
    __asm__(                                                                                                           \
        ".section .rodata\n"                                                                                           \
        ".balign 16\n"                                                                                                 \
        ".global " #symbol "_begin\n" #symbol                                                                          \
        "_begin:\n"                                                                                                    \
        ".incbin \"" path                                                                                              \
        "\"\n"                                                                                                         \
        ".global " #symbol "_end\n" #symbol                                                                            \
        "_end:\n"                                                                                                      \
        ".byte 0\n"                                                                                                    \
        ".previous\n");                                                                                                \
    extern "C" const std::uint8_t symbol##_begin[];                                                                    \
    extern "C" const std::uint8_t symbol##_end[];

BRANNOC_EMBED(brannoc_about_image, BRANNOC_ABOUT_IMAGE_PNG)
BRANNOC_EMBED(brannoc_boulder_sheet, BRANNOC_BOULDER_SHEET_PNG)
BRANNOC_EMBED(brannoc_ground_sheet, BRANNOC_GROUND_SHEET_PNG)
BRANNOC_EMBED(brannoc_building_sheet, BRANNOC_BUILDING_SHEET_PNG)

namespace {
std::span<const std::uint8_t> between(const std::uint8_t* begin, const std::uint8_t* end) {
    return {begin, static_cast<std::size_t>(end - begin)};
}
}  // namespace

std::span<const std::uint8_t> builtin_asset(BuiltinAsset asset) {
    switch (asset) {
        case BuiltinAsset::AboutImage: return between(brannoc_about_image_begin, brannoc_about_image_end);
        case BuiltinAsset::BoulderSheet: return between(brannoc_boulder_sheet_begin, brannoc_boulder_sheet_end);
        case BuiltinAsset::GroundSheet: return between(brannoc_ground_sheet_begin, brannoc_ground_sheet_end);
        case BuiltinAsset::BuildingSheet: return between(brannoc_building_sheet_begin, brannoc_building_sheet_end);
    }
    return {};
}
