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

void printText(std::ostream& out, const RunReport& report) {
    for (const auto& file : report.files) {
        out << file.path << " -> " << (file.outputPath.empty() ? kNotWritten : file.outputPath)
            << "  LINE総数 " << file.lineCount << "  削除 " << total(file.counters) << '\n';
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
    if (report.outcome == RunOutcome::Completed) {
        out << formatFixed(report.elapsedSeconds, 1) << " Sec\n";
    }
}

void printJson(std::ostream& out, const RunReport& report) {
    nlohmann::ordered_json json;
    json["outcome"] = outcomeName(report.outcome);
    if (!report.failure.empty()) {
        json["message"] = text(report.failure);
        json["detail"] = text(report.failureDetail);
    }
    json["files"] = nlohmann::ordered_json::array();
    for (const auto& file : report.files) {
        nlohmann::ordered_json entry;
        entry["path"] = text(file.path);
        entry["output"] =
            file.outputPath.empty() ? nlohmann::ordered_json() : text(file.outputPath);
        entry["lineCount"] = file.lineCount;
        // For watched-folder scripts: whether the copy differs from the input by anything counted.
        entry["changed"] = total(file.counters) > 0;
        entry["counters"] = countersJson(file.counters);
        json["files"].push_back(std::move(entry));
    }
    json["skipped"] = nlohmann::ordered_json::array();
    for (const auto& path : report.skipped) {
        json["skipped"].push_back(text(path));
    }
    json["counters"] = countersJson(report.counters);
    json["elapsedSeconds"] = report.elapsedSeconds;
    // Every text was marked, so nothing is left to replace.
    out << escapeMarks(json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace)) << '\n';
}

}  // namespace lintrel
