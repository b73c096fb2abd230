#pragma once
#include "sheets.hpp"

#include <string>

// The four images, generated once per test run and shared by the tests.
const texgen::SheetSet& generated_sheets();

// Path of a committed asset.
std::string asset_path(const char* name);
