#include "platform/PathIdentity.h"

#include <system_error>

#include "platform/NameComparison.h"
#include "platform/PathText.h"

namespace pelagor::platform {
namespace {

// The path with every existing folder resolved: links followed, "." and ".." gone. A path that
// cannot be resolved stays as spelled, made absolute when possible.
std::filesystem::path Resolved(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) {
        absolute = path;
    }
    std::filesystem::path resolved = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : resolved;
}

}  // namespace

std::optional<std::filesystem::path> LinkedFile(const std::filesystem::path& path) noexcept {
    try {
        std::filesystem::path file = path;
        // As many links as the system follows in one path before it gives up.
        for (int link = 0; link < 40; ++link) {
            std::error_code ec;
            if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec))) {
                return file;
            }
            const std::filesystem::path named = std::filesystem::read_symlink(file, ec);
            if (ec) {
                return std::nullopt;
            }
            file = named.is_absolute() ? named : file.parent_path() / named;
        }
    } catch (...) {  // out of memory
    }
    return std::nullopt;
}

std::string ResolvedKey(const std::filesystem::path& path) noexcept {
    try {
        return PathToUtf8(ComparableSpelling(Resolved(LinkedFile(path).value_or(path))));
    } catch (...) {
        return {};
    }
}

bool IsFolder(const std::filesystem::path& path) noexcept {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

bool Exists(const std::filesystem::path& path) noexcept {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace pelagor::platform
