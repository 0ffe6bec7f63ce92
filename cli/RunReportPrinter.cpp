#include "RunReportPrinter.h"

#include <array>
#include <cstdint>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <string_view>

#include "Numbers.h"

namespace lintrel {
namespace {

// Each counter with its window caption and a key for scripts.
struct CounterField {
    std::string_view caption;
    std::string_view key;
    std::int32_t RunCounters::*counter;
};

constexpr std::array<CounterField, 11> kFields = {{
    {"結合数", "JoinCount", &RunCounters::JoinCount},
    {"ダブり線数", "DuplicateCount", &RunCounters::DuplicateCount},
    {"ﾀﾞｲﾅﾐｯｸ文字数", "TextDeleteCount", &RunCounters::TextDeleteCount},
    {"マルチ文字数", "MTextDeleteCount", &RunCounters::MTextDeleteCount},
    {"寸法線数", "DimensionDeleteCount", &RunCounters::DimensionDeleteCount},
    {"構築線数", "XLineDeleteCount", &RunCounters::XLineDeleteCount},
    {"線種による削除 LINE数", "LineTypeLineCount", &RunCounters::LineTypeLineCount},
    {"線種による削除 円・円弧数", "LineTypeCircleArcCount", &RunCounters::LineTypeCircleArcCount},
    {"POINT数", "PointDeleteCount", &RunCounters::PointDeleteCount},
    {"長さによる削除 LINE数", "SizeLineCount", &RunCounters::SizeLineCount},
    {"長さによる削除 円・円弧数", "SizeCircleArcCount", &RunCounters::SizeCircleArcCount},
}};

nlohmann::ordered_json countersJson(const RunCounters& counters) {
    nlohmann::ordered_json object;
    for (const auto& field : kFields) {
        object[std::string(field.key)] = counters.*field.counter;
    }
    object["TOTAL"] = counters.total();
    return object;
}

// The key of each verdict's share of the saved cut length: its counter's key.
constexpr std::array<std::pair<Verdict, std::string_view>, 11> kRuleKeys = {{
    {Verdict::Joined, "JoinCount"},
    {Verdict::Duplicate, "DuplicateCount"},
    {Verdict::Text, "TextDeleteCount"},
    {Verdict::MText, "MTextDeleteCount"},
    {Verdict::Dimension, "DimensionDeleteCount"},
    {Verdict::XLine, "XLineDeleteCount"},
    {Verdict::LineTypeLine, "LineTypeLineCount"},
    {Verdict::LineTypeCircleArc, "LineTypeCircleArcCount"},
    {Verdict::Point, "PointDeleteCount"},
    {Verdict::SizeLine, "SizeLineCount"},
    {Verdict::SizeCircleArc, "SizeCircleArcCount"},
}};

nlohmann::ordered_json cutLengthJson(const preview::CutLength& cut) {
    nlohmann::ordered_json object;
    object["before"] = cut.before;
    object["after"] = cut.after;
    object["saved"] = cut.saved();
    nlohmann::ordered_json byRule = nlohmann::ordered_json::object();
    for (const auto& [verdict, key] : kRuleKeys) {
        auto found = cut.byRule.find(verdict);
        byRule[std::string(key)] = found == cut.byRule.end() ? 0.0 : found->second;
    }
    object["byRule"] = std::move(byRule);
    return object;
}

// The total of the files' cut lengths, in the units of the first when all share them.
FileCutLength totalOf(const std::vector<FileCutLength>& cuts) {
    FileCutLength total;
    total.insUnits = cuts.empty() ? 0 : cuts.front().insUnits;
    for (const auto& file : cuts) {
        total.cut += file.cut;
        total.insUnits = file.insUnits == total.insUnits ? total.insUnits : 0;
    }
    return total;
}

std::string_view outcomeName(RunOutcome outcome) {
    switch (outcome) {
        case RunOutcome::Refused:
            return "refused";
        case RunOutcome::Completed:
            return "completed";
        case RunOutcome::Interrupted:
            return "interrupted";
        case RunOutcome::Failed:
            return "failed";
    }
    return "failed";
}

}  // namespace

void printText(std::ostream& out, const RunReport& report, const std::vector<FileCutLength>* cuts) {
    for (std::size_t k = 0; k < report.files.size(); ++k) {
        const auto& file = report.files[k];
        out << file.path << " -> " << (file.outputPath.empty() ? "(書き込みなし)" : file.outputPath)
            << "  LINE総数 " << file.lineCount << "  削除 " << file.counters.total() << '\n';
        if (cuts != nullptr) {
            out << "  " << preview::cutLengthText((*cuts)[k].cut, (*cuts)[k].insUnits) << '\n';
        }
    }
    for (const auto& field : kFields) {
        out << "  " << field.caption << ' ' << report.counters.*field.counter << '\n';
    }
    out << "TOTAL " << report.counters.total() << '\n';
    if (cuts != nullptr) {
        const FileCutLength total = totalOf(*cuts);
        out << preview::cutLengthText(total.cut, total.insUnits) << '\n';
    }
    if (report.outcome == RunOutcome::Completed) {
        out << formatFixed(report.elapsedSeconds, 1) << " Sec\n";
    }
}

void printJson(std::ostream& out, const RunReport& report, const std::vector<FileCutLength>* cuts) {
    nlohmann::ordered_json json;
    json["outcome"] = outcomeName(report.outcome);
    if (!report.failure.empty()) {
        json["message"] = report.failure;
        json["detail"] = report.failureDetail;
    }
    json["files"] = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < report.files.size(); ++k) {
        const auto& file = report.files[k];
        nlohmann::ordered_json entry;
        entry["path"] = file.path;
        entry["output"] = file.outputPath.empty() ? nlohmann::ordered_json()
                                                  : nlohmann::ordered_json(file.outputPath);
        entry["lineCount"] = file.lineCount;
        // For watched-folder scripts: whether the copy differs from the input by anything counted.
        entry["changed"] = file.counters.total() > 0;
        entry["counters"] = countersJson(file.counters);
        if (cuts != nullptr) {
            entry["cutLength"] = cutLengthJson((*cuts)[k].cut);
        }
        json["files"].push_back(std::move(entry));
    }
    json["counters"] = countersJson(report.counters);
    if (cuts != nullptr) {
        json["cutLength"] = cutLengthJson(totalOf(*cuts).cut);
    }
    json["elapsedSeconds"] = report.elapsedSeconds;
    // Drawings may hold Shift-JIS names; invalid UTF-8 is replaced rather than refused.
    out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

}  // namespace lintrel
