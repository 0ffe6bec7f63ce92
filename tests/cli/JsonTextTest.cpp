#include <gtest/gtest.h>

#include <string>

#include "JsonText.h"

namespace lintrel {
namespace {

TEST(JsonText, WritesBytesThatAreNotUtf8AsLoneSurrogates) {
    const struct {
        const char* name;
        std::string bytes;
        std::string json;  // the string as dumped, quotes included
    } cases[] = {
        {"plain ASCII", "plan.dxf", "\"plan.dxf\""},
        {"valid UTF-8 as it stands", "\xE5\x9B\xB3.dxf", "\"\xE5\x9B\xB3.dxf\""},
        {"a Shift-JIS name", "\x83\x76\x83\x89\x83\x93.dxf",
         R"("\udc83v\udc83\udc89\udc83\udc93.dxf")"},
        {"a NUL byte", std::string("a\0b", 3), R"("a\u0000b")"},
        {"a backslash before a u", "\\u0000", R"("\\u0000")"},
        {"an overlong form", "\xC0\xAF", R"("\udcc0\udcaf")"},
        {"a surrogate written in UTF-8", "\xED\xA0\x80", R"("\udced\udca0\udc80")"},
        {"a sequence cut short at the end", "x\xE5\x9B", R"("x\udce5\udc9b")"},
        {"a control character", "a\x01", R"("a\u0001")"},
    };
    for (const auto& c : cases) {
        // What nlohmann::json writes for a string: quotes, and \u0000 for a NUL.
        std::string dumped = "\"";
        for (char ch : markInvalidUtf8(c.bytes)) {
            if (ch == '\0') {
                dumped += "\\u0000";
            } else if (ch == '\x01') {
                dumped += "\\u0001";
            } else if (ch == '\\') {
                dumped += "\\\\";
            } else {
                dumped += ch;
            }
        }
        dumped += "\"";
        EXPECT_EQ(escapeMarks(dumped), c.json) << c.name;
    }
}

}  // namespace
}  // namespace lintrel
