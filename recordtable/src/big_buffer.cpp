#include "big_buffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>
#include <utility>

// Under AddressSanitizer the buffer comes from malloc, so that every access
// past its end is caught; mapped memory is invisible to the sanitizer.
#if defined(__SANITIZE_ADDRESS__)
#define RECORDTABLE_BUFFER_FROM_MALLOC 1
#else
#define RECORDTABLE_BUFFER_FROM_MALLOC 0
#endif

namespace recordtable::detail {
namespace {

constexpr std::size_t kSmallPage = 4096;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Small blocks in ordinary pages, so that a table of a few records keeps a
// few kilobytes; from one huge page on, whole huge pages.
std::size_t roundUp(std::size_t bytes) {
  const std::size_t unit = bytes < kHugePage ? kSmallPage : kHugePage;
  return (bytes + unit - 1) / unit * unit;
}

}  // namespace

BigBuffer::~BigBuffer() { release(); }

BigBuffer::BigBuffer(BigBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), capacity_(std::exchange(other.capacity_, 0)) {}

BigBuffer& BigBuffer::operator=(BigBuffer&& other) noexcept {
  if (this != &other) {
    release();
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void BigBuffer::reserve(std::size_t bytes) {
  if (bytes <= capacity_) return;
  // At least double, so that growing one step at a time stays linear.
  std::size_t wanted = roundUp(bytes > 2 * capacity_ ? bytes : 2 * capacity_);
  if constexpr (RECORDTABLE_BUFFER_FROM_MALLOC) {
    wanted = bytes > 2 * capacity_ ? bytes : 2 * capacity_;
    void* grown = std::realloc(data_, wanted);
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<char*>(grown);
    capacity_ = wanted;
    return;
  }
  void* block;
  if (data_ == nullptr) {
    block = ::mmap(nullptr, wanted, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  } else {
    block = ::mremap(data_, capacity_, wanted, MREMAP_MAYMOVE);
  }
  if (block == MAP_FAILED) throw std::bad_alloc();
  // Only advice: without huge pages the memory works the same.
  if (wanted >= kHugePage) ::madvise(block, wanted, MADV_HUGEPAGE);
  data_ = static_cast<char*>(block);
  capacity_ = wanted;
}

void BigBuffer::release() {
  if (data_ != nullptr) {
    if constexpr (RECORDTABLE_BUFFER_FROM_MALLOC) {
      std::free(data_);
    } else {
      ::munmap(data_, capacity_);
    }
  }
  data_ = nullptr;
  capacity_ = 0;
}

}  // namespace recordtable::detail
