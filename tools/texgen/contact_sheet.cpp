#include "contact_sheet.hpp"

namespace texgen {

PixelImage make_contact_sheet(const SheetSet& sheets) { return sheets.ground; }
PixelImage make_highlights(const SheetSet& sheets) { return sheets.about; }

}  // namespace texgen
