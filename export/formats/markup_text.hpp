#pragma once
#include <string>
#include <string_view>

// Names and paths written into engine files come from the user (a sheet may
// be called "a&b's.png"), so every one is escaped for the format it lands in.

// Text for a double-quoted XML attribute: markup characters as entities, and
// tab, newline and return as character references so they survive the
// parser's normalisation of attribute values.
std::string xml_attribute_text(std::string_view text);

// A string of Godot's text resources, quotes included: "a \"b\"".
std::string godot_string(std::string_view text);

// Whether a name can be written into XML and Godot files at all: XML 1.0
// has no form for control characters other than tab, newline and return.
bool markup_can_name(std::string_view text);
