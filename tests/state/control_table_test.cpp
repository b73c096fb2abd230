#include "state/control_table.hpp"

#include "state/control_ids.hpp"

#include <gtest/gtest.h>

#include <set>

namespace {
const ControlSpec& spec(int number) {
    const ControlSpec* found = find_control(number);
    EXPECT_NE(found, nullptr) << number;
    static const ControlSpec none{};
    return found ? *found : none;
}
}  // namespace

TEST(ControlTable, NumbersAreUniqueAndCreationOrderMatches) {
    std::set<int> seen;
    std::vector<int> main_order;
    for (const ControlSpec& c : control_table()) {
        if (c.number != ctl::unnumbered) {
            EXPECT_TRUE(seen.insert(c.number).second) << "duplicate " << c.number;
        }
        if (c.tab == -1) main_order.push_back(c.number);
    }
    EXPECT_EQ(main_order, (std::vector<int>{4, 71, 67, 26, 1, 2, 8, 7, 14, 34, 35, 46, 37}));
    // Tabs follow one another in order.
    int last_tab = -1;
    for (const ControlSpec& c : control_table()) {
        EXPECT_GE(c.tab, last_tab);
        last_tab = c.tab;
    }
    const std::vector<int> tree_order{40, 38, 41, 39, 47, 93, 72, 91, 92};
    std::vector<int> tree;
    for (const ControlSpec& c : control_table())
        if (c.tab == tab_tree) tree.push_back(c.number);
    EXPECT_EQ(tree, tree_order);
}

TEST(ControlTable, MainAreaPlacesAndLabels) {
    EXPECT_EQ(spec(4).label, "Draw &Random");
    EXPECT_EQ(spec(4).x, 5);
    EXPECT_EQ(spec(4).y, 275);
    EXPECT_EQ(spec(4).width, 80);
    EXPECT_EQ(spec(2).label, "Exit");
    EXPECT_EQ(spec(2).y, 415);
    EXPECT_EQ(spec(8).label, "Iso width:");
    EXPECT_EQ(spec(46).kind, ControlKind::ProgressBar);
    EXPECT_EQ(spec(46).x, 120);
    EXPECT_EQ(spec(37).items, (std::vector<std::string>{"House", "Tree", "Terrain", "Mountain", "Water", "About"}));
    EXPECT_EQ(spec(37).width, 360);
    EXPECT_EQ(spec(37).height, 450);
    EXPECT_EQ(spec(43).x, 105);
    EXPECT_EQ(spec(43).tab, tab_about);
}

TEST(ControlTable, ComboItemsAndDefaults) {
    EXPECT_EQ(spec(7).items.size(), 17u);
    EXPECT_EQ(spec(7).items.front(), "40");
    EXPECT_EQ(spec(7).items.back(), "200");
    EXPECT_EQ(spec(7).items[spec(7).default_state], "100");
    EXPECT_EQ(spec(5).items[spec(5).default_state], "4 x 3");
    EXPECT_EQ(spec(10).items[spec(10).default_state], "60");
    EXPECT_EQ(spec(9).items[spec(9).default_state], "80");
    EXPECT_EQ(spec(9).items.back(), "90");
    EXPECT_EQ(spec(12).items[spec(12).default_state], "Right side");
    EXPECT_EQ(spec(38).items[spec(38).default_state], "40 %");
    EXPECT_EQ(spec(38).items.front(), "0 %");
    EXPECT_EQ(spec(38).items.back(), "100 %");
    EXPECT_EQ(spec(39).items,
              (std::vector<std::string>{"0.5 x", "1.0 x", "1.5 x", "2.0 x", "2.5 x", "3.0 x", "3.5 x", "4.0 x"}));
    EXPECT_EQ(spec(39).items[spec(39).default_state], "1.0 x");
    EXPECT_EQ(spec(48).items[spec(48).default_state], "5");
    EXPECT_EQ(spec(48).items.back(), "16");
    EXPECT_EQ(spec(50).items[spec(50).default_state], "15%");
    EXPECT_EQ(spec(50).items.back(), "70%");
    EXPECT_EQ(spec(55).items.front(), "Random");
    EXPECT_EQ(spec(55).items.size(), 11u);
}

TEST(ControlTable, CheckBoxDefaultsAndDisabledControls) {
    std::set<int> checked, disabled;
    for (const ControlSpec& c : control_table()) {
        if (c.kind == ControlKind::CheckBox && c.default_state) checked.insert(c.number);
        if (c.disabled) disabled.insert(c.number);
    }
    EXPECT_EQ(checked, (std::set<int>{ctl::lock_size, ctl::lock_height, ctl::lock_density}));
    EXPECT_EQ(disabled,
              (std::set<int>{ctl::tree_width, ctl::tree_shadow, ctl::tree_add_flowers, ctl::tree_add_fruits}));
}

TEST(ControlTable, TheSystemsOwnSpellingsAndTwinControls) {
    EXPECT_EQ(spec(11).label, "Heigth from/to:");
    EXPECT_EQ(spec(16).label, "Lock heigth");
    EXPECT_EQ(spec(51).label, "Boulder quantiy:");
    EXPECT_EQ(spec(28).label, spec(91).label);
    EXPECT_NE(spec(28).tab, spec(91).tab);
    EXPECT_EQ(spec(58).label, spec(75).label);
    EXPECT_EQ(spec(59).label, spec(74).label);
    EXPECT_EQ(spec(57).label, "Add ground (as defined in terrain panel)");
    EXPECT_EQ(spec(57).width, 220);
    EXPECT_EQ(find_control(ctl::unnumbered), nullptr);
    EXPECT_EQ(find_control(3), nullptr);
}
