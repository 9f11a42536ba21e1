#pragma once

// A small streaming JSON writer: objects and arrays nest, values are escaped, and numbers are
// written in the shortest form that reads back to the same value (non-finite ones as null).

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace pelagor::cli {

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    // A compact container is written on one line; others put each member on a line of its own.
    void BeginObject(bool compact = false);
    void EndObject();
    void BeginArray(bool compact = false);
    void EndArray();
    void Key(std::string_view key);

    void String(std::string_view utf8);
    void Int(std::int64_t value);
    void Bool(bool value);
    void Float(float value);
    void Double(double value);
    void Null();

private:
    struct Level {
        bool compact;
        bool empty;
    };
    void BeforeValue();
    void WriteString(std::string_view utf8);
    void Close(char bracket);
    void Newline();

    std::ostream& m_out;
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

}  // namespace pelagor::cli
