#include "export/formats/manifest_shape.hpp"

using json = nlohmann::json;

bool is_whole(const json& v) { return v.is_number_integer() || v.is_number_unsigned(); }
bool is_count(const json& v) { return is_whole(v) && v.get<long long>() >= 0; }
bool is_text(const json& v) { return v.is_string(); }
bool is_object(const json& v) { return v.is_object(); }
bool is_array(const json& v) { return v.is_array(); }
bool is_flag(const json& v) { return v.is_boolean(); }

Problem wrong_key(const json& object, const std::string& where, std::initializer_list<KeyRule> rules) {
    if (!object.is_object()) return where + "is not what brannoc-render writes (" + object.type_name() + ")";
    for (const KeyRule& rule : rules) {
        const auto it = object.find(rule.key);
        if (it == object.end()) {
            if (rule.optional) continue;
            return where + "\"" + rule.key + "\" is missing";
        }
        if (!rule.fits(*it))
            return where + "\"" + rule.key + "\" is not what brannoc-render writes (" + it->type_name() + ")";
    }
    return std::nullopt;
}
