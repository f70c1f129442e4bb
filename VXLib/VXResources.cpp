// The resource table outside Windows: pictures compiled into the program, and
// those added at run time, looked up by id and type name.
#include "VXLib/VXResources.h"

#if !defined(_WIN32)

#include "VXLib/VXUTIL/VXPath.h"

#include <memory>
#include <mutex>

namespace morvessan {

namespace {

struct Registered {
    int id;
    std::string typeName;
    std::vector<std::uint8_t> bytes;
};

// Entries are never removed, so the bytes of a found resource stay put.
std::vector<std::unique_ptr<Registered>>& registered() {
    static std::vector<std::unique_ptr<Registered>> table;
    return table;
}

std::mutex& registryLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

void vxRegisterResource(int id, const std::string& typeName, std::vector<std::uint8_t> bytes) {
    std::lock_guard guard(registryLock());
    registered().push_back(std::make_unique<Registered>(Registered{id, typeName, std::move(bytes)}));
}

std::optional<std::span<const std::uint8_t>> vxFindResource(VXModuleHandle, int id, const std::string& typeName) {
    {
        std::lock_guard guard(registryLock());
        auto& table = registered();
        for (auto it = table.rbegin(); it != table.rend(); ++it)
            if ((*it)->id == id && equalsIgnoreCase((*it)->typeName, typeName))
                return std::span<const std::uint8_t>((*it)->bytes);
    }
    for (const VXBuiltInResource& r : vxBuiltInResources())
        if (r.id == id && equalsIgnoreCase(r.typeName, typeName))
            return std::span<const std::uint8_t>(r.data, r.size);
    return std::nullopt;
}

} // namespace morvessan

#endif
