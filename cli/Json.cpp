#include "cli/Json.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace pelagor::cli {
namespace {

// Shortest round-trip text of a floating value, always with a fraction or exponent so that a
// reader sees a floating number ("5.0", not "5").
template <typename T>
std::string Shortest(T value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    std::string text(buffer.data(), result.ptr);
    if (text.find_first_of(".e") == std::string::npos) {
        text += ".0";
    }
    return text;
}

}  // namespace

void JsonWriter::Newline() {
    m_out << '\n';
    for (std::size_t depth = 0; depth < m_levels.size(); ++depth) {
        m_out << "  ";
    }
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_levels.empty()) {
        return;
    }
    Level& level = m_levels.back();
    if (!level.empty) {
        m_out << (level.compact ? ", " : ",");
    }
    if (!level.compact) {
        Newline();
    }
    level.empty = false;
}

void JsonWriter::BeginObject(bool compact) {
    BeforeValue();
    m_out << '{';
    m_levels.push_back({compact || (!m_levels.empty() && m_levels.back().compact), true});
}

void JsonWriter::BeginArray(bool compact) {
    BeforeValue();
    m_out << '[';
    m_levels.push_back({compact || (!m_levels.empty() && m_levels.back().compact), true});
}

void JsonWriter::Close(char bracket) {
    const Level level = m_levels.back();
    m_levels.pop_back();
    if (!level.compact && !level.empty) {
        Newline();
    }
    m_out << bracket;
    if (m_levels.empty()) {
        m_out << '\n';
    }
}

void JsonWriter::EndObject() {
    Close('}');
}
void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    WriteString(key);
    m_out << ": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    WriteString(utf8);
}

void JsonWriter::WriteString(std::string_view utf8) {
    m_out << '"';
    for (const char c : utf8) {
        switch (c) {
            case '"':
                m_out << "\\\"";
                break;
            case '\\':
                m_out << "\\\\";
                break;
            case '\n':
                m_out << "\\n";
                break;
            case '\r':
                m_out << "\\r";
                break;
            case '\t':
                m_out << "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    std::array<char, 8> escape{};
                    // Always fits: six characters.
                    static_cast<void>(
                        std::snprintf(escape.data(), escape.size(), "\\u%04x",
                                      static_cast<unsigned>(static_cast<unsigned char>(c))));
                    m_out << escape.data();
                } else {
                    m_out << c;
                }
        }
    }
    m_out << '"';
}

void JsonWriter::Int(std::int64_t value) {
    BeforeValue();
    m_out << value;
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_out << (value ? "true" : "false");
}

void JsonWriter::Float(float value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    m_out << Shortest(value);
}

void JsonWriter::Double(double value) {
    if (!std::isfinite(value)) {
        Null();
        return;
    }
    BeforeValue();
    m_out << Shortest(value);
}

void JsonWriter::Null() {
    BeforeValue();
    m_out << "null";
}

}  // namespace pelagor::cli
