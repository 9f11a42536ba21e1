#include "app/FileFilter.h"

#include <algorithm>
#include <cctype>

namespace pelagor::app {

namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return upper;
}

std::string BlankSeparatedPatterns(std::string_view patterns) {
    std::vector<std::string> all;
    for (std::string_view pattern : Split(patterns, ';')) {
        pattern = Trim(pattern);
        if (!pattern.empty()) {
            all.emplace_back(pattern);
        }
    }
    const std::size_t given = all.size();
    for (std::size_t i = 0; i < given; ++i) {
        std::string upper = UpperAscii(all[i]);
        if (std::find(all.begin(), all.end(), upper) == all.end()) {
            all.push_back(std::move(upper));
        }
    }
    std::string joined;
    for (const std::string& pattern : all) {
        joined += joined.empty() ? "" : " ";
        joined += pattern;
    }
    return joined;
}

}  // namespace

std::string FilterExtension(std::string_view filter, std::size_t index) {
    const std::vector<std::string_view> parts = Split(filter, '|');
    const std::size_t at = 2 * index + 1;
    if (at >= parts.size() || parts[at - 1].empty()) {
        return {};
    }
    const std::string_view pattern = Trim(Split(parts[at], ';').front());
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*." ||
        pattern.find_first_of("*?", 2) != std::string_view::npos) {
        return {};
    }
    return std::string(pattern.substr(2));
}

std::vector<std::string> NameFilters(std::string_view filter) {
    std::vector<std::string> filters;
    const std::vector<std::string_view> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
        std::string_view description = Trim(parts[i]);
        const std::string patterns = BlankSeparatedPatterns(parts[i + 1]);
        // The description's own list of patterns gives way to the one Qt can match.
        const std::size_t open = description.rfind('(');
        if (!description.empty() && description.back() == ')' && open != std::string_view::npos) {
            description = Trim(description.substr(0, open));
        }
        filters.push_back(std::string(description) + " (" + patterns + ")");
    }
    return filters;
}

}  // namespace pelagor::app
