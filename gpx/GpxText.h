#pragma once

// The text forms GPX readers accept: plain decimals (never an exponent), UTC times, and XML
// character data that a strict parser takes.

#include <cstdint>
#include <string>
#include <string_view>

namespace pelagor::gpx {

// Semicircles to degrees by the exact factor 180 / 2^31, written with 7 to 9 decimals: 9 keep
// every semicircle step (about 8.4e-8 degrees) apart, and trailing zeros beyond 7 are dropped.
std::string FormatDegrees(std::int32_t semicircles);

// Whether `semicircles` as a latitude lies within -90..90 degrees.
bool IsValidLatitude(std::int32_t semicircles);

// A finite float as the shortest plain decimal that reads back to the same value ("123.4",
// "-12"); the largest floats come out with all their 39 digits.
std::string FormatDecimal(float value);
// The same for a double: the digits that tell it apart from its neighbouring doubles.
std::string FormatDecimal(double value);

// Seconds since 1970-01-01 00:00:00 UTC as ISO 8601 in UTC, "2106-02-07T06:28:15Z" for the
// largest value; the date is computed in 64-bit arithmetic, independent of the C library's
// time_t.
std::string FormatUtcTime(std::uint32_t seconds);

// The proleptic Gregorian date of a count of days since 1970-01-01 (negative before it).
struct CivilDate {
    std::int64_t year;
    unsigned month;  // 1 to 12
    unsigned day;    // 1 to 31
};
CivilDate CivilFromDays(std::int64_t days);

// UTF-8 text as XML 1.0 character data: '&', '<' and '>' escaped, a carriage return kept as a
// reference (a parser would turn a raw one into a line feed), and every character that XML 1.0
// forbids (C0 controls other than tab, line feed and carriage return, U+FFFE, U+FFFF) and every
// byte that is not UTF-8 replaced by U+FFFD. Also fit for attribute values: quotes are escaped.
std::string EscapeXml(std::string_view utf8);

}  // namespace pelagor::gpx
