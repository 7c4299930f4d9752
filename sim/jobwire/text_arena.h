// Copies of texts and small records at fixed addresses, all released together.
//
// The library hands out what callers gave it (recorded texts, scripted answers) and must keep it valid
// until the next reset, so copies go into blocks that never move and are freed only by clear().
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/jobwire.h"

namespace jwsim {

class TextArena {
  public:
    // A NUL-terminated copy of `text`; null stays null.
    const char* copy(const char* text);
    // `count` zero-initialised, suitably aligned objects of a trivial type T.
    template <class T>
    T* allocate(size_t count) {
        return static_cast<T*>(allocate_bytes(count * sizeof(T), alignof(T)));
    }
    // Records copied with their names and values; null texts stay null. Null when count is 0.
    const NameValuePair* copy_pairs(const NameValuePair* pairs, size_t count);
    // Releases every copy; the first block is kept for reuse.
    void clear();

  private:
    static constexpr size_t kBlockSize = 16 * 1024;

    void* allocate_bytes(size_t size, size_t align);

    struct Block {
        std::unique_ptr<std::byte[]> bytes;
        size_t size;
    };
    std::vector<Block> blocks_;
    size_t used_ = 0;  // bytes taken from the last block
};

}  // namespace jwsim
