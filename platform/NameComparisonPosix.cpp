#include "platform/NameComparison.h"

namespace pelagor::platform {

std::filesystem::path ComparableSpelling(const std::filesystem::path& path) {
    return path;
}

}  // namespace pelagor::platform
