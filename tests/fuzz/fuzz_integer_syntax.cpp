// The integer notation of the settings file and the port field, checked against a plain
// reference that reads the same notation another way: by the digit counts and a wide value.
#include "base/IntegerSyntax.h"

#include <QString>
#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

std::optional<int32_t> reference(const std::u16string &s) {
    size_t i = s.find_first_not_of(u' ');
    if (i == std::u16string::npos)
        return std::nullopt;
    int sign = 1;
    if (s[i] == u'+' || s[i] == u'-') {
        sign = s[i] == u'-' ? -1 : 1;
        ++i;
    }
    std::u16string rest = s.substr(i);
    int base = 10;
    for (const std::u16string prefix : {u"0x", u"0X", u"$", u"x", u"X"}) {
        if (rest.compare(0, prefix.size(), prefix) == 0) {
            base = 16;
            rest = rest.substr(prefix.size());
            break;
        }
    }
    if (rest.empty())
        return std::nullopt;
    if (base == 16 && rest.size() > 8)
        return std::nullopt;
    __int128 value = 0;
    for (char16_t c : rest) {
        int d;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else
            return std::nullopt;
        value = value * base + d;
        if (base == 10 && value > (__int128(1) << 40))
            return std::nullopt;
    }
    if (base == 16)
        return int32_t(
            uint32_t(sign < 0 ? (uint64_t(1) << 32) - uint64_t(value) : uint64_t(value)));
    value *= sign;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return int32_t(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Each byte is one character; the byte 0xFF takes the next two bytes as one UTF-16 code
    // unit, so that characters beyond Latin-1 (digits of other scripts) can occur too.
    std::u16string text;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.push_back(char16_t(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            text.push_back(char16_t(data[i]));
        }
    }

    // Code units taken as they are (a conversion from UTF-16 would drop a leading byte order
    // mark).
    const auto got = IntegerSyntax::parse(
        QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size())));
    const auto want = reference(text);
    if (got != want)
        std::abort();
    return 0;
}
