#include "platform/Memory.h"

namespace pelagor::platform {

// Large pages on Windows need a privilege that users do not hold; the default pages serve.
void PrepareLargeBlock(void* /*data*/, std::size_t /*size*/) noexcept {}

}  // namespace pelagor::platform
