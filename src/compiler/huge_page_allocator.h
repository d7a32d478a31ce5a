#pragma once
// Storage for large arrays that grow during a compile, like the trail pool. Blocks of
// 2 MiB and more come straight from the kernel, aligned to 2 MiB and marked for huge
// pages: in a virtual machine every fresh 4 KiB page costs a fault that takes longer than
// filling the page, and a huge page takes one fault for 512 of them. Smaller blocks come
// from the ordinary heap.

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>

namespace orvane {

inline constexpr size_t kHugePage = size_t{2} << 20;

// At least `bytes` at a 2 MiB boundary, rounded up to whole huge pages; the same byte
// count goes back to UnmapHugeBlock.
inline void* MapHugeBlock(size_t bytes) {
  const size_t size = (bytes + kHugePage - 1) & ~(kHugePage - 1);
  void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(mapped);
  const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  // The slack before and after the aligned block goes back at once.
  if (aligned > start) munmap(mapped, aligned - start);
  munmap(reinterpret_cast<void*>(aligned + size), start + kHugePage - aligned);
#if defined(MADV_HUGEPAGE)
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // a hint only
#endif
  return reinterpret_cast<void*>(aligned);
}

inline void UnmapHugeBlock(void* block, size_t bytes) { munmap(block, (bytes + kHugePage - 1) & ~(kHugePage - 1)); }

template <typename T>
struct HugePageAllocator {
  using value_type = T;

  HugePageAllocator() = default;
  template <typename U>
  HugePageAllocator(const HugePageAllocator<U>&) {}

  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return static_cast<T*>(::operator new(bytes));
    return static_cast<T*>(MapHugeBlock(bytes));
  }

  void deallocate(T* p, size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) {
      ::operator delete(p);
    } else {
      UnmapHugeBlock(p, bytes);
    }
  }

  template <typename U>
  bool operator==(const HugePageAllocator<U>&) const {
    return true;
  }
};

}  // namespace orvane
