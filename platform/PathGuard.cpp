#include "platform/PathGuard.h"

#include <utility>

#include "platform/PathIdentity.h"
#include "platform/PathText.h"

namespace pelagor::platform {

void PathGuard::Add(const std::filesystem::path& path, std::string label) {
    if (const auto identity = IdentityOf(path)) {
        m_byIdentity.emplace(*identity, m_labels.size());
    }
    m_byKey.emplace(ResolvedKey(path), m_labels.size());
    m_labels.push_back(std::move(label));
}

std::optional<std::string> PathGuard::NamedBy(const std::filesystem::path& output) const {
    if (const auto identity = IdentityOf(output)) {
        if (const auto found = m_byIdentity.find(*identity); found != m_byIdentity.end()) {
            return m_labels[found->second];
        }
        return std::nullopt;
    }
    if (const auto found = m_byKey.find(ResolvedKey(output)); found != m_byKey.end()) {
        return m_labels[found->second];
    }
    return std::nullopt;
}

std::optional<std::string> InputNamedBy(const std::filesystem::path& output,
                                        std::span<const std::string> inputs) {
    PathGuard guard;
    for (const std::string& input : inputs) {
        guard.Add(PathFromUtf8(input), input);
    }
    return guard.NamedBy(output);
}

}  // namespace pelagor::platform
