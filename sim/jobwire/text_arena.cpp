#include "text_arena.h"

#include <cstring>

namespace jwsim {

void* TextArena::allocate_bytes(size_t size, size_t align) {
    if (size == 0) size = 1;  // distinct, valid addresses even for empty arrays
    size_t offset = (used_ + align - 1) & ~(align - 1);
    if (blocks_.empty() || offset + size > blocks_.back().size) {
        // Oversized requests get a block of their own; the next small one starts a fresh block.
        size_t block_size = size > kBlockSize ? size : kBlockSize;
        blocks_.push_back({std::make_unique<std::byte[]>(block_size), block_size});
        offset = 0;
    }
    std::byte* start = blocks_.back().bytes.get() + offset;
    used_ = offset + size;
    std::memset(start, 0, size);
    return start;
}

const char* TextArena::copy(const char* text) {
    if (text == nullptr) return nullptr;
    size_t length = std::strlen(text);
    char* copied = allocate<char>(length + 1);
    std::memcpy(copied, text, length);  // the terminator is already there
    return copied;
}

const NameValuePair* TextArena::copy_pairs(const NameValuePair* pairs, size_t count) {
    if (pairs == nullptr || count == 0) return nullptr;
    NameValuePair* copied = allocate<NameValuePair>(count);
    for (size_t i = 0; i < count; ++i) copied[i] = {copy(pairs[i].name), copy(pairs[i].value)};
    return copied;
}

void TextArena::clear() {
    bool keep_first = !blocks_.empty() && blocks_.front().size == kBlockSize;
    blocks_.resize(keep_first ? 1 : 0);
    used_ = 0;
}

}  // namespace jwsim
