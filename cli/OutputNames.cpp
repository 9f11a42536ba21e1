#include "cli/OutputNames.h"

#include "platform/PathIdentity.h"
#include "platform/PathText.h"

namespace pelagor::cli {

std::filesystem::path OutputNameFor(const std::filesystem::path& source,
                                    std::string_view extension) {
    std::filesystem::path name = source.filename();
    name.replace_extension(extension);
    return name;
}

void PathGuard::Add(const std::filesystem::path& path, std::string label) {
    m_byKey.emplace(platform::ResolvedKey(path), m_files.size());
    m_files.emplace_back(path, std::move(label));
}

std::optional<std::string> PathGuard::NamedBy(const std::filesystem::path& output) const {
    if (const auto found = m_byKey.find(platform::ResolvedKey(output)); found != m_byKey.end()) {
        return m_files[found->second].second;
    }
    if (platform::HasOtherHardLinks(output)) {
        for (const auto& [path, label] : m_files) {
            if (platform::NamesSameFile(output, path)) {
                return label;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> InputNamedBy(const std::filesystem::path& output,
                                        std::span<const std::string> inputs) {
    PathGuard guard;
    for (const std::string& input : inputs) {
        guard.Add(platform::PathFromUtf8(input), input);
    }
    return guard.NamedBy(output);
}

}  // namespace pelagor::cli
