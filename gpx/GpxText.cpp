#include "gpx/GpxText.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace pelagor::gpx {
namespace {

constexpr double kExactDegreesPerSemicircle = 180.0 / 2147483648.0;  // 45 / 2^29, exact
constexpr std::int32_t kNinetyDegrees = 1 << 30;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendCodePoint(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0U | (code >> 6U));
        out += static_cast<char>(0x80U | (code & 0x3FU));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0U | (code >> 12U));
        out += static_cast<char>(0x80U | ((code >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (code & 0x3FU));
    } else {
        out += static_cast<char>(0xF0U | (code >> 18U));
        out += static_cast<char>(0x80U | ((code >> 12U) & 0x3FU));
        out += static_cast<char>(0x80U | ((code >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (code & 0x3FU));
    }
}

// Decodes one UTF-8 character at `at`, advancing past it; an invalid or cut-off sequence, an
// overlong form or a surrogate yields nothing and advances by one byte.
bool NextCodePoint(std::string_view text, std::size_t& at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80U) {
        code = lead;
        ++at;
        return true;
    }
    if ((lead & 0xE0U) == 0xC0U) {
        length = 2;
        value = lead & 0x1FU;
        minimum = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3;
        value = lead & 0x0FU;
        minimum = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4;
        value = lead & 0x07U;
        minimum = 0x10000;
    } else {
        ++at;
        return false;
    }
    if (text.size() - at < length) {
        ++at;
        return false;
    }
    for (std::size_t index = 1; index < length; ++index) {
        const auto next = static_cast<unsigned char>(text[at + index]);
        if ((next & 0xC0U) != 0x80U) {
            ++at;
            return false;
        }
        value = (value << 6U) | (next & 0x3FU);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++at;
        return false;
    }
    code = value;
    at += length;
    return true;
}

bool AllowedInXml(char32_t code) {
    if (code < 0x20) {
        return code == 0x09 || code == 0x0A || code == 0x0D;
    }
    return code != 0xFFFE && code != 0xFFFF;
}

}  // namespace

std::string FormatDegrees(std::int32_t semicircles) {
    // Exact: a 32-bit value times 45 / 2^29 needs 38 significant bits.
    const double degrees = static_cast<double>(semicircles) * kExactDegreesPerSemicircle;
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), degrees,
                                      std::chars_format::fixed, 9);
    std::string text(buffer.data(), result.ptr);
    const std::size_t point = text.find('.');
    while (text.size() - point - 1 > 7 && text.back() == '0') {
        text.pop_back();
    }
    return text;
}

bool IsValidLatitude(std::int32_t semicircles) {
    return semicircles >= -kNinetyDegrees && semicircles <= kNinetyDegrees;
}

std::string FormatDecimal(float value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return {buffer.data(), result.ptr};
}

std::string FormatDecimal(double value) {
    // The largest doubles have 309 digits before the point; the smallest need 767 after it.
    std::array<char, 800> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    return {buffer.data(), result.ptr};
}

CivilDate CivilFromDays(std::int64_t days) {
    // Days are counted in 400-year eras of 146097 days from 0000-03-01, so that the leap day
    // ends each year of the count.
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const auto day = static_cast<unsigned>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const auto month =
        static_cast<unsigned>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day};
}

std::string FormatUtcTime(std::uint32_t seconds) {
    const CivilDate date = CivilFromDays(static_cast<std::int64_t>(seconds / 86400U));
    const std::uint32_t ofDay = seconds % 86400U;
    std::array<char, 40> buffer{};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-vararg): a fixed numeric layout
    const int length =
        std::snprintf(buffer.data(), buffer.size(), "%04lld-%02u-%02uT%02u:%02u:%02uZ",
                      static_cast<long long>(date.year), date.month, date.day, ofDay / 3600U,
                      ofDay / 60U % 60U, ofDay % 60U);
    return {buffer.data(), static_cast<std::size_t>(length > 0 ? length : 0)};
}

std::string EscapeXml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        char32_t code = 0;
        if (!NextCodePoint(utf8, at, code) || !AllowedInXml(code)) {
            out += kReplacement;
            continue;
        }
        switch (code) {
            case U'&':
                out += "&amp;";
                break;
            case U'<':
                out += "&lt;";
                break;
            case U'>':
                out += "&gt;";
                break;
            case U'"':
                out += "&quot;";
                break;
            case U'\r':
                out += "&#13;";
                break;
            default:
                AppendCodePoint(out, code);
        }
    }
    return out;
}

}  // namespace pelagor::gpx
