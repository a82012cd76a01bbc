// The first-run flag file beside the program, against a plain reading of its first field.
#include "shell/firstrun.h"

#include "fuzzfile.h"

#include <optional>
#include <string_view>

namespace {

// The first field as a whole: up to a comma or line end, blanks trimmed, an optional
// sign and digits only, within 16 bits. A first line of 255 bytes or more without a
// comma is too long to hold one.
std::optional<int16_t> expected(std::string_view text)
{
    const size_t end = text.find_first_of(",\r\n");
    if (text.size() > 255 && (end == std::string_view::npos || end >= 255))
        return std::nullopt;
    std::string_view f = text.substr(0, end);
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (!f.empty() && blank(f.front()))
        f.remove_prefix(1);
    while (!f.empty() && blank(f.back()))
        f.remove_suffix(1);
    bool negative = false;
    if (f.size() > 1 && (f.front() == '+' || f.front() == '-')) {
        negative = f.front() == '-';
        f.remove_prefix(1);
    }
    if (f.empty())
        return std::nullopt;
    long v = 0;
    for (char c : f) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 40000)
            return std::nullopt;
    }
    v = negative ? -v : v;
    if (v < INT16_MIN || v > INT16_MAX)
        return std::nullopt;
    return int16_t(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    int16_t value = 0;
    const bool ok = readRunFlag(writeInput(QStringLiteral("/Config.ini"), data, size), &value);
    const std::optional<int16_t> want = expected(text);
    FUZZ_CHECK(ok == want.has_value());
    FUZZ_CHECK(!ok || value == *want);
    return 0;
}
