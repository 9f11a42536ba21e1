#include <windows.h>

#include <limits>
#include <string>

#include "platform/NameComparison.h"

namespace pelagor::platform {
namespace {

// Windows drops a name's trailing dots and spaces ("trip.mps. " opens trip.mps); "." and ".."
// stay, they are not names.
std::wstring WithoutTrailingDotsAndSpaces(std::wstring name) {
    if (name == L"." || name == L"..") {
        return name;
    }
    const std::size_t end = name.find_last_not_of(L". ");
    name.erase(end == std::wstring::npos ? 0 : end + 1);
    return name;
}

// One character for one, as the file system's own table maps them (no "ß" to "SS").
std::wstring UpperCase(const std::wstring& text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        return text;
    }
    std::wstring upper(text.size(), L'\0');
    const int length = static_cast<int>(text.size());
    if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(), length, upper.data(),
                        length, nullptr, nullptr, 0) != length) {
        return text;
    }
    return upper;
}

}  // namespace

std::filesystem::path ComparableSpelling(const std::filesystem::path& path) {
    std::filesystem::path spelling = path.root_path();
    for (const std::filesystem::path& part : path.relative_path()) {
        spelling /= WithoutTrailingDotsAndSpaces(part.native());
    }
    return UpperCase(spelling.native());
}

}  // namespace pelagor::platform
