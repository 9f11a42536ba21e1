#pragma once

#include <string>

namespace pelagor::platform {

// The system's own words for an error code of FileError::systemCode.
std::string SystemErrorText(int code);

}  // namespace pelagor::platform
