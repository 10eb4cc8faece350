#include "big_buffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace recordtable::detail {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Under AddressSanitizer every block comes from malloc, so that any access
// past its end is caught; mapped memory is invisible to the sanitizer.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kMapFrom = static_cast<std::size_t>(-1);
#else
constexpr std::size_t kMapFrom = kHugePage;
#endif

std::size_t roundUpToHugePages(std::size_t bytes) {
  return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

BigBuffer::~BigBuffer() { release(); }

BigBuffer::BigBuffer(BigBuffer&& other) noexcept { swap(other); }

BigBuffer& BigBuffer::operator=(BigBuffer&& other) noexcept {
  if (this != &other) {
    release();
    swap(other);
  }
  return *this;
}

void BigBuffer::swap(BigBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(capacity_, other.capacity_);
  std::swap(mapped_, other.mapped_);
}

void BigBuffer::reserve(std::size_t bytes) {
  if (bytes <= capacity_) return;
  // At least double, so that growing one step at a time stays linear.
  std::size_t wanted = bytes > 2 * capacity_ ? bytes : 2 * capacity_;
  if (wanted < kMapFrom) {
    void* grown = std::realloc(data_, wanted);
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<char*>(grown);
    capacity_ = wanted;
    return;
  }
  wanted = roundUpToHugePages(wanted);
  void* block = mapped_ ? ::mremap(data_, capacity_, wanted, MREMAP_MAYMOVE)
                        : ::mmap(nullptr, wanted, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (block == MAP_FAILED) throw std::bad_alloc();
  // Only advice: without huge pages the memory works the same.
  ::madvise(block, wanted, MADV_HUGEPAGE);
  if (!mapped_ && data_ != nullptr) {  // leaving malloc: move the contents once
    std::memcpy(block, data_, capacity_);
    std::free(data_);
  }
  data_ = static_cast<char*>(block);
  capacity_ = wanted;
  mapped_ = true;
}

void BigBuffer::release() {
  if (data_ != nullptr) {
    if (mapped_) {
      ::munmap(data_, capacity_);
    } else {
      std::free(data_);
    }
  }
  data_ = nullptr;
  capacity_ = 0;
  mapped_ = false;
}

}  // namespace recordtable::detail
