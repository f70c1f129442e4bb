// Memory the hostile host hands to a plug-in: exactly the size asked for, so a
// read or write past its end is caught (a fault on Windows, the sanitizer natively).
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvessan::test {

class GuardedBuffer {
public:
    GuardedBuffer() = default;
    explicit GuardedBuffer(std::size_t size);
    ~GuardedBuffer();
    GuardedBuffer(GuardedBuffer&& other) noexcept;
    GuardedBuffer& operator=(GuardedBuffer&& other) noexcept;
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    // Ends where the buffer ends: on Windows an inaccessible page follows it.
    std::uint8_t* data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void release();

    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    void* m_block = nullptr; // what the allocation returned
};

} // namespace morvessan::test
