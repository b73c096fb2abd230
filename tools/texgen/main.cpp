// brannoc-texgen: writes the built-in artwork into assets/, or a contact
// sheet for looking at it.
#include "contact_sheet.hpp"
#include "png_io.hpp"
#include "sheets.hpp"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void usage() {
    std::fprintf(stderr,
                 "usage: brannoc-texgen [ASSETS_DIR]\n"
                 "       brannoc-texgen --contact-sheet OUT.png [SECTION]\n"
                 "       brannoc-texgen --highlights OUT.png\n"
                 "Writes boulder_sheet.png, ground_sheet.png and building_sheet.png into\n"
                 "ASSETS_DIR (default: assets); brannoc-about then draws about_image.png\n"
                 "from them with the house generator. SECTION is one of\n"
                 "walls, roofs, openings, grass, ground, water, rock, boulders, all.\n");
}

bool save(const std::string& path, const texgen::PixelImage& image) {
    if (texgen::write_png(path, image)) return true;
    std::fprintf(stderr, "brannoc-texgen: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace texgen;
    if (argc > 1 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        usage();
        return 0;
    }
    if (argc > 1 && (std::strcmp(argv[1], "--contact-sheet") == 0 || std::strcmp(argv[1], "--highlights") == 0)) {
        if (argc != 3 && argc != 4) {
            usage();
            return 2;
        }
        SheetSet sheets = make_all_sheets();
        bool full = std::strcmp(argv[1], "--contact-sheet") == 0;
        PixelImage out = full ? make_contact_sheet(sheets, argc == 4 ? argv[3] : "all") : make_highlights(sheets);
        if (out.width() == 0) {
            usage();
            return 2;
        }
        return save(argv[2], out) ? 0 : 1;
    }
    if (argc > 2) {
        usage();
        return 2;
    }
    std::string dir = argc == 2 ? argv[1] : "assets";
    SheetSet sheets = make_all_sheets();
    bool ok = save(dir + "/boulder_sheet.png", sheets.boulder) && save(dir + "/ground_sheet.png", sheets.ground) &&
              save(dir + "/building_sheet.png", sheets.building);
    return ok ? 0 : 1;
}
