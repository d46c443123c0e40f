#include "engine/memory/MemoryBudget.h"

#include <algorithm>
#include <limits>

namespace trelvano {

std::int64_t HeadroomBytes(const MemoryFigures& figures) noexcept
{
    std::int64_t headroom = std::numeric_limits<std::int64_t>::max();
    auto bound = [&headroom](std::int64_t room) { headroom = std::min(headroom, std::max<std::int64_t>(room, 0)); };

    if (figures.memAvailable) bound(*figures.memAvailable);
    if (figures.addressSpaceLimit) bound(*figures.addressSpaceLimit - figures.addressSpaceUsed.value_or(0));
    if (figures.dataLimit) bound(*figures.dataLimit - figures.dataUsed.value_or(0));
    for (const CgroupMemory& group : figures.cgroups) {
        bound(group.limit - std::max<std::int64_t>(group.usage - group.reclaimable, 0));
    }
    return headroom;
}

std::optional<MemoryShortfall> ShortfallOf(std::int64_t bytes, std::int64_t headroom) noexcept
{
    const std::int64_t available = std::max<std::int64_t>(headroom - kMemoryReserveBytes, 0);
    if (bytes <= available) return std::nullopt;
    return MemoryShortfall{bytes, available};
}

void RequireMemory(std::int64_t bytes)
{
    if (bytes <= 0) return;
    if (const auto shortfall = ShortfallOf(bytes, HeadroomBytes(ReadMemoryFigures()))) throw RuntimeFault(*shortfall);
    if (const auto shortfall = TakeRoom(bytes)) throw RuntimeFault(*shortfall);
}

void RaiseOutOfMemory(std::int64_t bytes)
{
    const std::int64_t headroom = HeadroomBytes(ReadMemoryFigures());
    throw RuntimeFault(MemoryShortfall{bytes, std::max<std::int64_t>(headroom - kMemoryReserveBytes, 0)});
}

}  // namespace trelvano
