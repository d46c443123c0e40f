#include "engine/memory/PageStorage.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

#include "engine/memory/MemoryBudget.h"
#include "engine/memory/PageMapping.h"

namespace trelvano {

using pages::kAlignment;
using pages::kMappedFromBytes;
using pages::RoundUp;

PageStorage::PageStorage(std::size_t count)
{
    if (count == 0) return;
    // Past this the byte count would not fit a size_t, on any width of it.
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(double) / 2)
        RaiseOutOfMemory(bytesFor(static_cast<std::int64_t>(count)));
    const std::size_t bytes = count * sizeof(double);
    void* block = nullptr;
#if TRELVANO_MAPS_PAGES
    if (bytes >= kMappedFromBytes) {
        const std::size_t length = RoundUp(bytes, pages::MapStep());
        block = pages::MapAligned(length);
        if (block != nullptr) mappedBytes_ = length;
    } else
#endif
    {
        block = ::operator new(bytes, std::align_val_t(kAlignment), std::nothrow);
    }
    if (block == nullptr) RaiseOutOfMemory(bytesFor(static_cast<std::int64_t>(count)));
    data_ = static_cast<double*>(block);
    count_ = count;
}

PageStorage::~PageStorage()
{
    release();
}

PageStorage::PageStorage(PageStorage&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      mappedBytes_(std::exchange(other.mappedBytes_, 0))
{
}

PageStorage& PageStorage::operator=(PageStorage&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        count_ = std::exchange(other.count_, 0);
        mappedBytes_ = std::exchange(other.mappedBytes_, 0);
    }
    return *this;
}

std::int64_t PageStorage::bytesFor(std::int64_t count) noexcept
{
    if (count <= 0) return 0;
    // Counted in 64 bits: a block past half of a 32-bit size_t (WebAssembly's)
    // can never be made, and its product in size_t would wrap to a small one.
    if (count > std::numeric_limits<std::int64_t>::max() / std::int64_t{sizeof(double)})
        return std::numeric_limits<std::int64_t>::max();
    const std::int64_t wide = count * std::int64_t{sizeof(double)};
    if (static_cast<std::uint64_t>(wide) > std::numeric_limits<std::size_t>::max() / 2) return wide;
    const auto bytes = static_cast<std::size_t>(wide);
#if TRELVANO_MAPS_PAGES
    if (bytes >= kMappedFromBytes) return static_cast<std::int64_t>(pages::MappedLength(bytes));
#endif
    return static_cast<std::int64_t>(RoundUp(bytes + kAlignment, 4096));
}

void PageStorage::release() noexcept
{
    if (data_ == nullptr) return;
#if TRELVANO_MAPS_PAGES
    if (mappedBytes_ != 0) {
        pages::Unmap(data_, mappedBytes_);
    } else
#endif
    {
        ::operator delete(data_, std::align_val_t(kAlignment));
    }
    data_ = nullptr;
    count_ = 0;
    mappedBytes_ = 0;
}

}  // namespace trelvano
