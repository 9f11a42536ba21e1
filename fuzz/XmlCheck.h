#pragma once

// A strict check of the XML the GPX export writes: well-formed XML 1.0 with namespaces, for the
// forms the export uses (a declaration, elements, attributes, character data and references).
// Comments, processing instructions, CDATA and document types are refused, since the export
// writes none.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace pelagor::fuzzing {

class XmlCheck {
public:
    // The first fault of `text`, with its byte offset; empty when it is well-formed.
    static std::string Fault(std::string_view text) { return XmlCheck(text).Document(); }

private:
    explicit XmlCheck(std::string_view text) : m_text(text) {}

    std::string Fail(const std::string& what) const {
        return what + " at byte " + std::to_string(m_at);
    }
    [[nodiscard]] bool AtEnd() const { return m_at >= m_text.size(); }
    [[nodiscard]] bool Next(std::string_view expected) const {
        return m_text.substr(m_at).starts_with(expected);
    }
    void SkipSpace() {
        while (!AtEnd() &&
               std::string_view(" \t\r\n").find(m_text[m_at]) != std::string_view::npos) {
            ++m_at;
        }
    }

    // One character of XML 1.0, UTF-8 encoded.
    bool Character() {
        const auto lead = static_cast<unsigned char>(m_text[m_at]);
        std::size_t length = 1;
        char32_t code = lead;
        if (lead >= 0x80) {
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            if (lead < 0xC2 || lead > 0xF4 || m_text.size() - m_at < length) {
                return false;
            }
            code = lead & (0x7FU >> length);
            for (std::size_t index = 1; index < length; ++index) {
                const auto next = static_cast<unsigned char>(m_text[m_at + index]);
                if ((next & 0xC0U) != 0x80U) {
                    return false;
                }
                code = (code << 6U) | (next & 0x3FU);
            }
            const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
            if (code < minimum) {
                return false;
            }
        }
        m_at += length;
        return Allowed(code);
    }
    static bool Allowed(char32_t code) {
        return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
               (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
    }

    bool Name(std::string& name) {
        const std::size_t start = m_at;
        while (!AtEnd()) {
            const char c = m_text[m_at];
            const bool letter =
                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
            const bool later = (c >= '0' && c <= '9') || c == '-' || c == '.';
            if (!letter && !(later && m_at > start)) {
                break;
            }
            ++m_at;
        }
        name = m_text.substr(start, m_at - start);
        return !name.empty();
    }

    // "&amp;", "&#13;", "&#x41;": a predefined entity or a reference to a legal character.
    bool Reference() {
        const std::size_t end = m_text.find(';', m_at);
        if (end == std::string_view::npos) {
            return false;
        }
        const std::string_view body = m_text.substr(m_at + 1, end - m_at - 1);
        m_at = end + 1;
        if (body == "amp" || body == "lt" || body == "gt" || body == "quot" || body == "apos") {
            return true;
        }
        const bool hex = body.starts_with("#x");
        const std::string_view digits = body.substr(hex ? 2 : 1);
        if (!body.starts_with('#') || digits.empty() || digits.size() > 8) {
            return false;
        }
        char32_t code = 0;
        for (const char c : digits) {
            const std::size_t value =
                std::string_view("0123456789abcdef")
                    .find(static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c));
            if (value == std::string_view::npos || value >= (hex ? 16U : 10U)) {
                return false;
            }
            code = code * (hex ? 16U : 10U) + static_cast<char32_t>(value);
        }
        return Allowed(code);
    }

    // Text up to `stop` (exclusive), where '<' may not stand and '&' starts a reference.
    std::string Text(char stop) {
        while (!AtEnd() && m_text[m_at] != stop) {
            if (m_text[m_at] == '<' && stop != '<') {
                return Fail("'<' in an attribute value");
            }
            if (m_text[m_at] == '&') {
                if (!Reference()) {
                    return Fail("a broken reference");
                }
            } else if (Next("]]>")) {
                return Fail("']]>' in character data");
            } else if (!Character()) {
                return Fail("a character XML does not allow");
            }
        }
        return {};
    }

    [[nodiscard]] bool Declared(std::string_view name) const {
        const std::size_t colon = name.find(':');
        if (colon == std::string_view::npos) {
            return true;
        }
        const std::string prefix(name.substr(0, colon));
        if (prefix == "xml" || prefix == "xmlns") {
            return true;
        }
        for (const auto& scope : m_prefixes) {
            if (scope.contains(prefix)) {
                return true;
            }
        }
        return false;
    }

    // An element whose '<' is at hand, with its content and end tag.
    std::string Element() {
        ++m_at;
        std::string name;
        if (!Name(name)) {
            return Fail("an element without a name");
        }
        std::set<std::string> attributes;
        std::set<std::string> prefixes;
        std::vector<std::string> attributeNames;
        while (true) {
            const std::size_t before = m_at;
            SkipSpace();
            if (Next("/>") || Next(">")) {
                break;
            }
            std::string attribute;
            if (m_at == before || !Name(attribute)) {
                return Fail("a broken attribute in <" + name + ">");
            }
            SkipSpace();
            if (!Next("=")) {
                return Fail("an attribute without a value");
            }
            ++m_at;
            SkipSpace();
            if (AtEnd() || (m_text[m_at] != '"' && m_text[m_at] != '\'')) {
                return Fail("an attribute value without quotes");
            }
            const char quote = m_text[m_at++];
            if (std::string fault = Text(quote); !fault.empty()) {
                return fault;
            }
            if (AtEnd()) {
                return Fail("an attribute value without its end");
            }
            ++m_at;
            if (!attributes.insert(attribute).second) {
                return Fail("attribute " + attribute + " twice");
            }
            if (attribute.starts_with("xmlns:")) {
                prefixes.insert(attribute.substr(6));
            }
            attributeNames.push_back(attribute);
        }
        m_prefixes.push_back(prefixes);
        for (const std::string& attribute : attributeNames) {
            if (!Declared(attribute)) {
                return Fail("undeclared prefix in attribute " + attribute);
            }
        }
        if (!Declared(name)) {
            return Fail("undeclared prefix in element " + name);
        }
        if (Next("/>")) {
            m_at += 2;
            m_prefixes.pop_back();
            return {};
        }
        ++m_at;
        while (true) {
            if (std::string fault = Text('<'); !fault.empty()) {
                return fault;
            }
            if (AtEnd()) {
                return Fail("<" + name + "> without its end tag");
            }
            if (Next("</")) {
                break;
            }
            if (Next("<!") || Next("<?")) {
                return Fail("markup the export does not write");
            }
            if (std::string fault = Element(); !fault.empty()) {
                return fault;
            }
        }
        m_at += 2;
        std::string end;
        if (!Name(end) || end != name) {
            return Fail("</" + end + "> ends <" + name + ">");
        }
        SkipSpace();
        if (!Next(">")) {
            return Fail("a broken end tag");
        }
        ++m_at;
        m_prefixes.pop_back();
        return {};
    }

    std::string Document() {
        if (Next("<?xml ")) {
            const std::size_t end = m_text.find("?>", m_at);
            if (end == std::string_view::npos) {
                return Fail("a declaration without its end");
            }
            m_at = end + 2;
        }
        SkipSpace();
        if (!Next("<") || Next("<!") || Next("<?") || Next("</")) {
            return Fail("no root element");
        }
        if (std::string fault = Element(); !fault.empty()) {
            return fault;
        }
        SkipSpace();
        return AtEnd() ? std::string() : Fail("text after the root element");
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    std::vector<std::set<std::string>> m_prefixes;
};

}  // namespace pelagor::fuzzing
