// Exact allocations natively; on Windows pages of their own with a no-access
// page right after the last byte, which a stray read or write hits at once.
#include "GuardedBuffer.h"

#include <new>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace morvessan::test {

GuardedBuffer::GuardedBuffer(std::size_t size) : m_size(size) {
#if defined(_WIN32)
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
    const std::size_t pages = (size + page - 1) / page;
    auto* base =
        static_cast<std::uint8_t*>(VirtualAlloc(nullptr, (pages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base) {
        throw std::bad_alloc();
    }
    DWORD old = 0;
    VirtualProtect(base + pages * page, page, PAGE_NOACCESS, &old);
    m_block = base;
    m_data = base + pages * page - size;
#else
    // Even an empty allocation has an address of its own, with no byte behind it.
    m_data = static_cast<std::uint8_t*>(::operator new(size));
    m_block = m_data;
#endif
}

GuardedBuffer::~GuardedBuffer() { release(); }

GuardedBuffer::GuardedBuffer(GuardedBuffer&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_block(std::exchange(other.m_block, nullptr)) {}

GuardedBuffer& GuardedBuffer::operator=(GuardedBuffer&& other) noexcept {
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

void GuardedBuffer::release() {
    if (!m_block) {
        return;
    }
#if defined(_WIN32)
    VirtualFree(m_block, 0, MEM_RELEASE);
#else
    ::operator delete(m_block);
#endif
    m_block = nullptr;
    m_data = nullptr;
}

} // namespace morvessan::test
