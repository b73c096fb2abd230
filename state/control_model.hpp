#pragma once
#include "state/control_table.hpp"

#include <map>

// The states of all controls, addressed by number, without any window: a
// check box holds 0/1, a combo box its item index, the panel its tab, the
// progress bar its position. Unknown numbers read 0 and ignore writes.
//
// The window mirrors this model: it reports a user's change with
// user_changed() and listens for the writes commands make.
class ControlModel {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void state_written(int number, int state) = 0;
        virtual void enabled_changed(int number, bool enabled) = 0;
    };

    explicit ControlModel(const std::vector<ControlSpec>& table = control_table());

    int read(int number) const;
    bool checked(int number) const { return read(number) != 0; }
    // A command's write: clamped to the control's range, then shown.
    void write(int number, int state);
    // A user's change seen by the window: stored, not echoed back.
    void user_changed(int number, int state);

    bool enabled(int number) const;
    void set_enabled(int number, bool enabled);

    void set_listener(Listener* listener) { listener_ = listener; }

private:
    struct Entry {
        ControlKind kind;
        int state;
        int item_count;
        bool enabled;
    };
    bool store(int number, int state);

    std::map<int, Entry> controls_;
    Listener* listener_ = nullptr;
};
