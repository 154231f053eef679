#include "platform/registry.h"

namespace vokari::platform {

RegistrySource& systemRegistry() {
    static WineRegistry prefixRegistry;
    return prefixRegistry;
}

} // namespace vokari::platform
