#pragma once
#include "export/problem.hpp"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>

// The shape checks every reader of our manifests applies: each key it
// reads must be there (unless it may be left out) and of the type the
// writer gives it, so no later read can throw.

bool is_whole(const nlohmann::json& v);  // an integer
bool is_count(const nlohmann::json& v);  // an integer from 0
bool is_text(const nlohmann::json& v);
bool is_object(const nlohmann::json& v);
bool is_array(const nlohmann::json& v);
bool is_flag(const nlohmann::json& v);

struct KeyRule {
    const char* key;
    bool (*fits)(const nlohmann::json&);
    bool optional = false;
};

// The first key of `object` that breaks its rule, in a sentence starting
// with `where` ("world_3.json: chunk "); none when all hold. `object` that
// is no object at all is the problem too.
Problem wrong_key(const nlohmann::json& object, const std::string& where, std::initializer_list<KeyRule> rules);
