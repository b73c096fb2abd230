#include "test_sheets.hpp"

#include <string>

const texgen::SheetSet& generated_sheets() {
    static const texgen::SheetSet sheets = texgen::make_all_sheets();
    return sheets;
}

std::string asset_path(const char* name) { return std::string(BRANNOC_ASSETS_DIR) + "/" + name; }
