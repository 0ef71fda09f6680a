#include <sys/mman.h>

#include "platform/null/null_objects.h"

// Mapped, not allocated: its pages are zero and faulted in only where they are touched, while
// memory from the allocator would be cleared whole by calloc once it has been used before.
void* ScratchMemory(size_t bytes) {
  static void* scratch = nullptr;
  static size_t held = 0;
  if (held < bytes) {
    if (scratch) munmap(scratch, held);
    scratch = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (scratch == MAP_FAILED) scratch = nullptr;
    held = scratch ? bytes : 0;
  }
  return scratch;
}
