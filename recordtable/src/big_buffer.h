// A growable block of raw memory for the engine's bulk storage (cells and
// text bytes). Small blocks come from malloc; from 2 MiB on, blocks come
// straight from the kernel with transparent huge pages requested and grow by
// remapping, so loading a big table costs few page faults and no copies on
// growth.
#pragma once

#include <cstddef>

namespace recordtable::detail {

class BigBuffer {
 public:
  BigBuffer() = default;
  ~BigBuffer();
  BigBuffer(BigBuffer&& other) noexcept;
  BigBuffer& operator=(BigBuffer&& other) noexcept;
  void swap(BigBuffer& other) noexcept;
  BigBuffer(const BigBuffer&) = delete;
  BigBuffer& operator=(const BigBuffer&) = delete;

  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t capacity() const { return capacity_; }
  // Makes room for at least `bytes` in total, keeping the contents; throws
  // std::bad_alloc when memory runs out.
  void reserve(std::size_t bytes);
  // Gives all memory back.
  void release();

 private:
  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  bool mapped_ = false;  // from mmap (else from malloc)
};

}  // namespace recordtable::detail
