#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "TempDir.h"
#include "VersionProbe.h"

namespace lintrel {
namespace {

namespace fs = std::filesystem;

// The verdict a drawing should get from the version its corpus name begins with.
std::string expectedFor(const std::string& fileName) {
    const std::map<std::string, std::string> byVersion = {
        {"AC1015", "accepted"},
        {"AC1018", "accepted"},
        {"AC1021", " は、AutoCAD 2007/LT2007 DXFファイルです。"},
        {"AC1014", " は、AutoCAD R14/LT98/LT97 DXFファイルです。"},
        {"AC1012", " は、AutoCAD R13/LT95 DXFファイルです。"},
        {"AC1009", " は、AutoCAD R12/LT2 DXFファイルです。"},
        {"AC1006", " は、AutoCAD R10 DXFファイルです。"},
    };
    auto found = byVersion.find(fileName.substr(0, fileName.find("__")));
    return found == byVersion.end() ? " は、形式不明な DXFファイルです。" : found->second;
}

// Drawings whose manifest notes say they begin with a bare "0": their group codes are not
// padded, so whatever version they name, their format is unknown.
std::map<std::string, bool> unpaddedDrawings(const fs::path& corpus) {
    std::map<std::string, bool> unpadded;
    std::ifstream manifest(corpus / "MANIFEST.tsv");
    std::string row;
    while (std::getline(manifest, row)) {
        unpadded[row.substr(0, row.find('\t'))] = row.find("first-line='0'") != std::string::npos;
    }
    return unpadded;
}

TEST(CheckAcadVer, SortsTheCorpusDrawingsByTheirVersion) {
    auto corpus = testing::corpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no corpus of drawings";
    }
    auto unpadded = unpaddedDrawings(corpus);
    int probed = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        auto name = entry.path().filename().string();
        if (entry.path().extension() != ".dxf") {
            continue;
        }
        auto expected = unpadded[name] ? " は、形式不明な DXFファイルです。" : expectedFor(name);
        auto verdict = checkAcadVer(entry.path().string());
        EXPECT_EQ(verdict.isAccepted() ? "accepted" : std::string(verdict.rejection), expected)
            << name;
        ++probed;
    }
    EXPECT_GT(probed, 0);
}

}  // namespace
}  // namespace lintrel
