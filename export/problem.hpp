#pragma once
#include <optional>
#include <string>

// What the export core says when it cannot do what was asked: the reason
// in a sentence a user reads, or nothing when all went well. Everything
// here that can fail returns one, or a result holding one as `problem`.
using Problem = std::optional<std::string>;
