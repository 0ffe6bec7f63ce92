#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "Controls.h"
#include "DecisionObserver.h"
#include "RunCounters.h"
#include "WindowOps.h"

namespace lintrel {

// One run counter: where it is kept, the label that shows it, the caption the window shows
// beside it, the deletion rule it belongs to when two counters share a caption, its JSON key, and
// the verdict a record it counts is given.
struct CounterField {
    std::int32_t RunCounters::*member;
    ControlName label;
    std::string_view caption;
    std::string_view rule;  // empty, or the rule that tells this counter from its namesake
    std::string_view key;
    Verdict verdict;
};

// The eleven counters in the order reports list them.
inline constexpr std::array<CounterField, 11> kCounterFields = {{
    {&RunCounters::JoinCount, control::Label54, "結合数", "", "JoinCount", Verdict::Joined},
    {&RunCounters::DuplicateCount, control::Label25, "ダブり線数", "", "DuplicateCount",
     Verdict::Duplicate},
    {&RunCounters::TextDeleteCount, control::Label1, "ﾀﾞｲﾅﾐｯｸ文字数", "", "TextDeleteCount",
     Verdict::Text},
    {&RunCounters::MTextDeleteCount, control::Label18, "マルチ文字数", "", "MTextDeleteCount",
     Verdict::MText},
    {&RunCounters::DimensionDeleteCount, control::Label22, "寸法線数", "", "DimensionDeleteCount",
     Verdict::Dimension},
    {&RunCounters::XLineDeleteCount, control::Label46, "構築線数", "", "XLineDeleteCount",
     Verdict::XLine},
    {&RunCounters::LineTypeLineCount, control::Label2, "LINE数", "線種による削除",
     "LineTypeLineCount", Verdict::LineTypeLine},
    {&RunCounters::LineTypeCircleArcCount, control::Label3, "円・円弧数", "線種による削除",
     "LineTypeCircleArcCount", Verdict::LineTypeCircleArc},
    {&RunCounters::PointDeleteCount, control::Label4, "POINT数", "", "PointDeleteCount",
     Verdict::Point},
    {&RunCounters::SizeLineCount, control::Label5, "LINE数", "長さによる削除", "SizeLineCount",
     Verdict::SizeLine},
    {&RunCounters::SizeCircleArcCount, control::Label6, "円・円弧数", "長さによる削除",
     "SizeCircleArcCount", Verdict::SizeCircleArc},
}};

// The sum of every counter, with its label, caption and key.
inline constexpr ControlName kTotalLabel = control::Label12;
inline constexpr std::string_view kTotalCaption = "TOTAL ";
inline constexpr std::string_view kTotalKey = "TOTAL";

static_assert(sizeof(RunCounters) == kCounterFields.size() * sizeof(std::int32_t),
              "every run counter has its row");

// The caption beside a count label, for the window's layout.
consteval std::string_view captionOf(ControlName label) {
    for (const auto& field : kCounterFields) {
        if (field.label == label) {
            return field.caption;
        }
    }
    throw "not a count label";  // consteval: a wrong label fails the build
}

// The label that shows a counter.
constexpr ControlName labelOf(std::int32_t RunCounters::*member) {
    for (const auto& field : kCounterFields) {
        if (field.member == member) {
            return field.label;
        }
    }
    return kTotalLabel;  // not reached: the assertion above gives every member its row
}

// TOTAL: what the run removed from the drawings, as one figure.
constexpr std::int64_t total(const RunCounters& counters) {
    std::int64_t sum = 0;
    for (const auto& field : kCounterFields) {
        sum += counters.*field.member;
    }
    return sum;
}

constexpr RunCounters& operator+=(RunCounters& counters, const RunCounters& added) {
    for (const auto& field : kCounterFields) {
        counters.*field.member += added.*field.member;
    }
    return counters;
}

constexpr RunCounters operator+(RunCounters counters, const RunCounters& added) {
    return counters += added;
}

// The run's counters as the window shows them: the totals of the files before this one, plus
// what this file has added so far.
class CounterDisplay {
public:
    CounterDisplay(WindowOps& window, const RunCounters& before)
        : m_window(window), m_before(before) {}

    // Shows one counter of `added` on top of the files before.
    void show(std::int32_t RunCounters::*member, const RunCounters& added) {
        m_window.setCaption(labelOf(member), std::to_string(m_before.*member + added.*member));
    }

private:
    WindowOps& m_window;
    RunCounters m_before;
};

}  // namespace lintrel
