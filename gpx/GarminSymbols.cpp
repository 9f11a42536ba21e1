#include "gpx/GarminSymbols.h"

#include <algorithm>
#include <array>

namespace pelagor::gpx {
namespace {

struct Symbol {
    std::uint16_t code;
    std::string_view name;
};

constexpr std::array kSymbols = std::to_array<Symbol>({
#include "gpx/GarminSymbolTable.inc"
});

static_assert(std::is_sorted(kSymbols.begin(), kSymbols.end(),
                             [](const Symbol& a, const Symbol& b) { return a.code < b.code; }));

}  // namespace

std::optional<std::string_view> GarminSymbolName(std::uint16_t code) {
    const auto* found = std::lower_bound(
        kSymbols.begin(), kSymbols.end(), code,
        [](const Symbol& symbol, std::uint16_t wanted) { return symbol.code < wanted; });
    if (found == kSymbols.end() || found->code != code) {
        return std::nullopt;
    }
    return found->name;
}

}  // namespace pelagor::gpx
