#include "RunReportPrinter.h"

#include <array>
#include <cstdint>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <string_view>

#include "JsonText.h"
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
            << "  LINE総数 " << file.lineCount << "  削除 " << file.counters.total() << '\n';
    }
    for (const auto& path : report.skipped) {
        out << path << " -> " << kNotProcessed << '\n';
    }
    for (const auto& field : kFields) {
        out << "  " << field.caption << ' ' << report.counters.*field.counter << '\n';
    }
    out << "TOTAL " << report.counters.total() << '\n';
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
