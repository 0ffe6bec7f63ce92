#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "OptionSet.h"

namespace lintrel {
namespace {

using States = std::map<std::string, bool>;

// Every check box and option button, named by hand so that a wrong table in the code shows.
const std::vector<std::string> kTickables = {
    "Check1",  "Check2",       "Check3",        "Check4",     "Check5",    "Check6",
    "Check7",  "Check8",       "Check9",        "Check10",    "Check11",   "Check12",
    "Check13", "TEXT文字削除", "MTEXT文字削除", "Option1(0)", "Option1(1)"};

const std::vector<std::string> kTexts = {"Text1", "Text2", "Text3", "Text4",
                                         "Text5", "Text6", "Text8", "Text9"};

States statesOf(const OptionSet& options) {
    States states;
    for (const auto& name : kTickables) {
        states[name] = options.ticked(name).value();
    }
    return states;
}

States defaultStates() {
    States states;
    for (const auto& name : kTickables) {
        states[name] = true;
    }
    states["Check12"] = false;
    states["Check13"] = false;
    states["Option1(1)"] = false;
    return states;
}

TEST(OptionSet, StartsWithTheDefaultsOfAFreshWindow) {
    OptionSet options;
    EXPECT_EQ(statesOf(options), defaultStates());
    for (const auto& name : kTexts) {
        EXPECT_EQ(options.text(name), std::optional<std::string>("")) << name;
    }
}

TEST(OptionSet, KnowsOnlyTheNamesOfItsControls) {
    struct Case {
        const char* name;
        const char* control;
        bool isTickable;
        bool isText;
    };
    const Case cases[] = {
        {"a check box is tickable", "Check11", true, false},
        {"the TEXT box is tickable", "TEXT文字削除", true, false},
        {"an option button is tickable", "Option1(1)", true, false},
        {"a text box holds text", "Text9", false, true},
        {"there is no Text7", "Text7", false, false},
        {"there is no Check14", "Check14", false, false},
        {"names are exact about case", "check1", false, false},
        {"a label is no option", "Label34", false, false},
        {"the option group alone is no option", "Option1", false, false},
    };
    for (const auto& c : cases) {
        OptionSet options;
        EXPECT_EQ(options.ticked(c.control).has_value(), c.isTickable) << c.name;
        EXPECT_EQ(options.setTicked(c.control, false), c.isTickable) << c.name;
        EXPECT_EQ(options.text(c.control).has_value(), c.isText) << c.name;
        EXPECT_EQ(options.setText(c.control, "1"), c.isText) << c.name;
    }
}

TEST(OptionSet, AppliesThePairRulesLikeAClick) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, bool>> steps;
        States changes;  // from the defaults
    };
    const Case cases[] = {
        {"ticking Check13 clears TEXT文字削除",
         {{"Check13", true}},
         {{"Check13", true}, {"TEXT文字削除", false}}},
        {"ticking TEXT文字削除 clears Check13",
         {{"Check13", true}, {"TEXT文字削除", true}},
         {{"Check13", false}, {"TEXT文字削除", true}}},
        {"clearing Check13 leaves both TEXT boxes clear",
         {{"Check13", true}, {"Check13", false}},
         {{"Check13", false}, {"TEXT文字削除", false}}},
        {"clearing TEXT文字削除 does not tick Check13",
         {{"TEXT文字削除", false}},
         {{"TEXT文字削除", false}}},
        {"ticking Check12 clears MTEXT文字削除",
         {{"Check12", true}},
         {{"Check12", true}, {"MTEXT文字削除", false}}},
        {"ticking MTEXT文字削除 clears Check12",
         {{"Check12", true}, {"MTEXT文字削除", true}},
         {{"Check12", false}, {"MTEXT文字削除", true}}},
        {"clearing MTEXT文字削除 does not tick Check12",
         {{"MTEXT文字削除", false}},
         {{"MTEXT文字削除", false}}},
        {"selecting Option1(1) clears Option1(0)",
         {{"Option1(1)", true}},
         {{"Option1(1)", true}, {"Option1(0)", false}}},
        {"selecting Option1(0) clears Option1(1)",
         {{"Option1(1)", true}, {"Option1(0)", true}},
         {{"Option1(1)", false}, {"Option1(0)", true}}},
        {"clearing Option1(0) leaves neither selected",
         {{"Option1(0)", false}},
         {{"Option1(0)", false}}},
        {"ordinary boxes have no partner", {{"Check5", false}}, {{"Check5", false}}},
    };
    for (const auto& c : cases) {
        OptionSet options;
        for (const auto& [name, on] : c.steps) {
            EXPECT_TRUE(options.setTicked(name, on)) << c.name;
        }
        auto expected = defaultStates();
        for (const auto& [name, on] : c.changes) {
            expected[name] = on;
        }
        EXPECT_EQ(statesOf(options), expected) << c.name;
    }
}

TEST(AssignOption, SetsOneOptionFromACommandLineAssignment) {
    struct Case {
        const char* name;
        const char* assignment;
        const char* control;
        std::optional<bool> ticked;       // expected state when a box
        std::optional<std::string> text;  // expected text when a text box
    };
    const Case cases[] = {
        {"1 ticks a check box", "Check12=1", "Check12", true, std::nullopt},
        {"0 clears a check box", "Check7=0", "Check7", false, std::nullopt},
        {"a Japanese name is a name", "MTEXT文字削除=0", "MTEXT文字削除", false, std::nullopt},
        {"1 selects an option button", "Option1(1)=1", "Option1(1)", true, std::nullopt},
        {"a text box takes a number", "Text1=2.5", "Text1", std::nullopt, "2.5"},
        {"a text box takes an empty text", "Text9=", "Text9", std::nullopt, ""},
        {"a text box takes any text", "Text3=a=b", "Text3", std::nullopt, "a=b"},
    };
    for (const auto& c : cases) {
        OptionSet options;
        EXPECT_EQ(assignOption(options, c.assignment), std::nullopt) << c.name;
        if (c.ticked) {
            EXPECT_EQ(options.ticked(c.control), c.ticked) << c.name;
        } else {
            EXPECT_EQ(options.text(c.control), c.text) << c.name;
        }
    }
}

TEST(AssignOption, RunsThePairRules) {
    OptionSet options;
    EXPECT_EQ(assignOption(options, "Check13=1"), std::nullopt);
    EXPECT_EQ(options.ticked("TEXT文字削除"), std::optional<bool>(false));
}

TEST(AssignOption, RefusesWithAReasonAndChangesNothing) {
    struct Case {
        const char* name;
        const char* assignment;
        const char* reason;
    };
    const std::string known =
        "Check9, Check7, Check10, Check11, TEXT文字削除, Check13, MTEXT文字削除, Check12, "
        "Check6, Check8, Check1, Check2, Check3, Check4, Check5, Option1(0), Option1(1), "
        "Text9, Text8, Text5, Text6, Text1, Text4, Text2, Text3";
    const Case cases[] = {
        {"a box takes only 0 or 1", "Check7=yes", R"(option "Check7" takes 0 or 1, not "yes")"},
        {"a box takes no empty value",
         "Option1(0)=", R"-(option "Option1(0)" takes 0 or 1, not "")-"},
        {"a box takes no 2", "Check1=2", R"(option "Check1" takes 0 or 1, not "2")"},
        {"an assignment needs an equals sign", "Check7", R"(expected NAME=VALUE, got "Check7")"},
    };
    for (const auto& c : cases) {
        OptionSet options;
        EXPECT_EQ(assignOption(options, c.assignment), std::optional<std::string>(c.reason))
            << c.name;
        EXPECT_EQ(options, OptionSet()) << c.name;
    }
    OptionSet options;
    EXPECT_EQ(assignOption(options, "Text7=1"),
              std::optional<std::string>("unknown option \"Text7\"; the options are " + known));
    EXPECT_EQ(options, OptionSet());
}

}  // namespace
}  // namespace lintrel
