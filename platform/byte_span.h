// Bounds-checked little-endian reads over a span of bytes. Every on-disk field
// of the volume and NTFS code is read through this: a field that does not lie
// wholly inside the span reads as "absent" instead of past the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {

class ByteSpan {
 public:
  ByteSpan() = default;
  ByteSpan(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // True when [offset, offset + length) lies inside the span.
  bool Contains(size_t offset, size_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

  // The sub-span [offset, offset + length), or an empty span when it does not fit.
  ByteSpan Sub(size_t offset, size_t length) const {
    return Contains(offset, length) ? ByteSpan(data_ + offset, length) : ByteSpan();
  }
  // Everything from offset to the end (empty when offset is past the end).
  ByteSpan From(size_t offset) const {
    return offset <= size_ ? ByteSpan(data_ + offset, size_ - offset) : ByteSpan();
  }

  bool U8(size_t offset, uint8_t* out) const { return Read(offset, 1, out); }
  bool U16(size_t offset, uint16_t* out) const { return Read(offset, 2, out); }
  bool U32(size_t offset, uint32_t* out) const { return Read(offset, 4, out); }
  bool U64(size_t offset, uint64_t* out) const { return Read(offset, 8, out); }

  // Reads width (0 to 8) bytes as an unsigned little-endian number.
  template <typename T>
  bool Read(size_t offset, size_t width, T* out) const {
    if (width > 8 || !Contains(offset, width)) return false;
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) value |= static_cast<uint64_t>(data_[offset + i]) << (8 * i);
    *out = static_cast<T>(value);
    return true;
  }

  // Field readers that yield 0 for a field outside the span, for structures
  // already checked to be long enough.
  uint8_t U8At(size_t offset) const { uint8_t v = 0; U8(offset, &v); return v; }
  uint16_t U16At(size_t offset) const { uint16_t v = 0; U16(offset, &v); return v; }
  uint32_t U32At(size_t offset) const { uint32_t v = 0; U32(offset, &v); return v; }
  uint64_t U64At(size_t offset) const { uint64_t v = 0; U64(offset, &v); return v; }

  bool Equals(size_t offset, const void* bytes, size_t length) const {
    return Contains(offset, length) && std::memcmp(data_ + offset, bytes, length) == 0;
  }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace platform
