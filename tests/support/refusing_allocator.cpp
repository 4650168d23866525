#include "tests/support/refusing_allocator.h"

#include <new>

bool refuseArrays = false;

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseArrays)
        return nullptr;
    try {
        return ::operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
