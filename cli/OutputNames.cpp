#include "cli/OutputNames.h"

#include <utility>

#include "platform/FileIo.h"
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
    if (const auto identity = platform::IdentityOf(path)) {
        m_byIdentity.emplace(*identity, m_labels.size());
    }
    m_byKey.emplace(platform::ResolvedKey(path), m_labels.size());
    m_labels.push_back(std::move(label));
}

std::optional<std::string> PathGuard::NamedBy(const std::filesystem::path& output) const {
    if (const auto identity = platform::IdentityOf(output)) {
        if (const auto found = m_byIdentity.find(*identity); found != m_byIdentity.end()) {
            return m_labels[found->second];
        }
        return std::nullopt;
    }
    if (const auto found = m_byKey.find(platform::ResolvedKey(output)); found != m_byKey.end()) {
        return m_labels[found->second];
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
