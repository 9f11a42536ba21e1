#include "cli/OutputNames.h"

namespace pelagor::cli {

std::filesystem::path OutputNameFor(const std::filesystem::path& source,
                                    std::string_view extension) {
    std::filesystem::path name = source.filename();
    name.replace_extension(extension);
    return name;
}

}  // namespace pelagor::cli
