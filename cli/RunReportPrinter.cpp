#include "RunReportPrinter.h"

#include <iomanip>
#include <nlohmann/json.hpp>
#include <string_view>

#include "CounterTable.h"
#include "JsonText.h"
#include "Numbers.h"

namespace lintrel {
namespace {

nlohmann::ordered_json countersJson(const RunCounters& counters) {
    nlohmann::ordered_json object;
    for (const auto& field : kCounterFields) {
        object[std::string(field.key)] = counters.*field.member;
    }
    object[std::string(kTotalKey)] = total(counters);
    return object;
}

// What stands for a copy in the text report: none written, or none made at all.
constexpr std::string_view kNotWritten = "(書き込みなし)";
constexpr std::string_view kNotProcessed = "(処理されていません)";

nlohmann::ordered_json text(std::string_view bytes) {
    return markInvalidUtf8(bytes);
}

nlohmann::ordered_json cutLengthJson(const preview::CutLength& cut) {
    nlohmann::ordered_json object;
    object["before"] = cut.before;
    object["after"] = cut.after;
    object["saved"] = cut.saved();
    nlohmann::ordered_json byRule = nlohmann::ordered_json::object();
    // Each verdict's share of the saved length under its counter's key.
    for (const auto& field : kCounterFields) {
        auto found = cut.byRule.find(field.verdict);
        byRule[std::string(field.key)] = found == cut.byRule.end() ? 0.0 : found->second;
    }
    object["byRule"] = std::move(byRule);
    return object;
}

// The total of the files' cut lengths, in the units of the first when all share them.
FileCutLength totalOf(const std::vector<FileCutLength>& cuts) {
    FileCutLength sum;
    sum.insUnits = cuts.empty() ? 0 : cuts.front().insUnits;
    for (const auto& file : cuts) {
        sum.cut += file.cut;
        sum.insUnits = file.insUnits == sum.insUnits ? sum.insUnits : 0;
    }
    return sum;
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
        out << file.path << " -> " << (file.outputPath.empty() ? kNotWritten : file.outputPath)
            << "  LINE総数 " << file.lineCount << "  削除 " << total(file.counters) << '\n';
        if (cuts != nullptr) {
            out << "  " << preview::cutLengthText((*cuts)[k].cut, (*cuts)[k].insUnits) << '\n';
        }
    }
    for (const auto& path : report.skipped) {
        out << path << " -> " << kNotProcessed << '\n';
    }
    for (const auto& field : kCounterFields) {
        out << "  ";
        if (!field.rule.empty()) {
            out << field.rule << ' ';
        }
        out << field.caption << ' ' << report.counters.*field.member << '\n';
    }
    out << kTotalCaption << total(report.counters) << '\n';
    if (cuts != nullptr) {
        const FileCutLength sum = totalOf(*cuts);
        out << preview::cutLengthText(sum.cut, sum.insUnits) << '\n';
    }
    if (report.outcome == RunOutcome::Completed) {
        out << formatFixed(report.elapsedSeconds, 1) << " Sec\n";
    }
}

void printJson(std::ostream& out, const RunReport& report, const std::vector<FileCutLength>* cuts) {
    nlohmann::ordered_json json;
    json["outcome"] = outcomeName(report.outcome);
    if (!report.failure.empty()) {
        json["message"] = text(report.failure);
        json["detail"] = text(report.failureDetail);
    }
    json["files"] = nlohmann::ordered_json::array();
    for (std::size_t k = 0; k < report.files.size(); ++k) {
        const auto& file = report.files[k];
        nlohmann::ordered_json entry;
        entry["path"] = text(file.path);
        entry["output"] =
            file.outputPath.empty() ? nlohmann::ordered_json() : text(file.outputPath);
        entry["lineCount"] = file.lineCount;
        // For watched-folder scripts: whether the copy differs from the input by anything counted.
        entry["changed"] = total(file.counters) > 0;
        entry["counters"] = countersJson(file.counters);
        if (cuts != nullptr) {
            entry["cutLength"] = cutLengthJson((*cuts)[k].cut);
        }
        json["files"].push_back(std::move(entry));
    }
    json["skipped"] = nlohmann::ordered_json::array();
    for (const auto& path : report.skipped) {
        json["skipped"].push_back(text(path));
    }
    json["counters"] = countersJson(report.counters);
    if (cuts != nullptr) {
        json["cutLength"] = cutLengthJson(totalOf(*cuts).cut);
    }
    json["elapsedSeconds"] = report.elapsedSeconds;
    // Every text was marked, so nothing is left to replace.
    out << escapeMarks(json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace)) << '\n';
}

}  // namespace lintrel
