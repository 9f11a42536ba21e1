#include "cli/OutputNames.h"

#include "platform/PathIdentity.h"

namespace pelagor::cli {

std::filesystem::path OutputNameFor(const std::filesystem::path& source,
                                    std::string_view extension) {
    std::filesystem::path name = source.filename();
    name.replace_extension(extension);
    return name;
}

std::optional<std::string> InputNamedBy(const std::filesystem::path& output,
                                        std::span<const std::string> inputs) {
    for (const std::string& input : inputs) {
        if (platform::NamesSameFile(output, input)) {
            return input;
        }
    }
    return std::nullopt;
}

}  // namespace pelagor::cli
