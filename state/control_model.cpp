#include "state/control_model.hpp"

#include "state/control_ids.hpp"

#include <algorithm>

ControlModel::ControlModel(const std::vector<ControlSpec>& table) {
    for (const ControlSpec& spec : table) {
        if (spec.number == ctl::unnumbered) continue;
        controls_[spec.number] = {spec.kind, spec.default_state, static_cast<int>(spec.items.size()), !spec.disabled};
    }
}

int ControlModel::read(int number) const {
    const auto it = controls_.find(number);
    return it == controls_.end() ? 0 : it->second.state;
}

bool ControlModel::store(int number, int state) {
    const auto it = controls_.find(number);
    if (it == controls_.end()) return false;
    Entry& entry = it->second;
    switch (entry.kind) {
        case ControlKind::CheckBox: state = state != 0 ? 1 : 0; break;
        case ControlKind::ComboBox:
        case ControlKind::Panel:
            if (state < 0 || state >= entry.item_count) return false;
            break;
        case ControlKind::ProgressBar: state = std::clamp(state, 0, 100); break;
        default: return false;  // buttons, labels and images hold no state
    }
    entry.state = state;
    return true;
}

void ControlModel::write(int number, int state) {
    if (store(number, state) && listener_) listener_->state_written(number, read(number));
}

void ControlModel::user_changed(int number, int state) { store(number, state); }

bool ControlModel::enabled(int number) const {
    const auto it = controls_.find(number);
    return it != controls_.end() && it->second.enabled;
}

void ControlModel::set_enabled(int number, bool enabled) {
    const auto it = controls_.find(number);
    if (it == controls_.end()) return;
    it->second.enabled = enabled;
    if (listener_) listener_->enabled_changed(number, enabled);
}
