#pragma once
#include <map>

class QWidget;

// One line on what the less obvious controls do: the texture buttons, the
// lock boxes and a few boxes whose labels say little.
void add_tooltips(const std::map<int, QWidget*>& controls);
