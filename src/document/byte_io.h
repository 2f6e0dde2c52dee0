#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zt9 {

// Bounds-checked little-endian access to untrusted byte buffers. Every offset a reader
// computes goes through these, so no header value can make us read outside a buffer.

// True when [offset, offset + count) lies inside a buffer of `size` bytes; never overflows.
inline constexpr bool fitsIn(std::size_t size, std::size_t offset, std::size_t count) {
    return offset <= size && count <= size - offset;
}

// Bytes past the end read as 0; callers check the range first where it matters.
inline std::uint8_t readU8(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return offset < bytes.size() ? bytes[offset] : std::uint8_t{0};
}

inline std::uint16_t readU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(readU8(bytes, offset) | (readU8(bytes, offset + 1) << 8));
}

inline std::uint32_t readU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(readU8(bytes, offset)) |
           (static_cast<std::uint32_t>(readU8(bytes, offset + 1)) << 8) |
           (static_cast<std::uint32_t>(readU8(bytes, offset + 2)) << 16) |
           (static_cast<std::uint32_t>(readU8(bytes, offset + 3)) << 24);
}

// Writes only the bytes that fall inside the buffer.
inline void writeU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    for (std::size_t k = 0; k < 2; ++k) {
        if (fitsIn(bytes.size(), offset, k + 1)) {
            bytes[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
        }
    }
}

inline void writeU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t k = 0; k < 4; ++k) {
        if (fitsIn(bytes.size(), offset, k + 1)) {
            bytes[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
        }
    }
}

}  // namespace zt9
