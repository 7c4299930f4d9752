// The calls the library received, with their arguments as they were at call time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "jwsim.h"
#include "text_arena.h"

namespace jwsim {

class CallLog {
  public:
    // Appends an empty record for `func`; it stays at its address until clear().
    JwCall& append(JwFunc func, int32_t arg_count);
    size_t size() const { return size_; }
    const JwCall* at(size_t index) const {
        return index < size_ ? &chunks_[index / kChunkLength][index % kChunkLength] : nullptr;
    }
    TextArena& copies() { return copies_; }
    // Forgets every call; the first chunk is kept for reuse.
    void clear();

  private:
    // Records live in fixed chunks, so they never move and most appends allocate nothing.
    static constexpr size_t kChunkLength = 256;
    std::vector<std::unique_ptr<JwCall[]>> chunks_;
    size_t size_ = 0;
    TextArena copies_;
};

// Fills one record argument by argument, widening each value and copying texts as they are now.
// With a null record (recording off) it does nothing.
class CallRecorder {
  public:
    CallRecorder(JwCall* call, TextArena* copies) : call_(call), copies_(copies) {}

    template <class... Args>
    void add(Args... args) {
        if (call_ != nullptr) (add_one(args), ...);
    }
    // Copies the records of a pair-array argument; count <= 0 or a null array copies none.
    void add_pairs(const NameValuePair* pairs, int32_t count);

  private:
    void put(uint64_t raw, const char* text = nullptr) {
        call_->texts[next_] = text;
        call_->args[next_++] = raw;
    }
    void add_one(const char* text) { put(reinterpret_cast<uintptr_t>(text), copies_->copy(text)); }
    // An output buffer: its bytes are not read.
    void add_one(char* buffer) { put(reinterpret_cast<uintptr_t>(buffer)); }
    void add_one(AcjOptionFn function) { put(reinterpret_cast<uintptr_t>(function)); }
    void add_one(int32_t value) { put(static_cast<uint64_t>(static_cast<int64_t>(value))); }
    template <class T>
    void add_one(T* pointer) {
        put(reinterpret_cast<uintptr_t>(pointer));
    }

    JwCall* call_;
    TextArena* copies_;
    int next_ = 0;
};

}  // namespace jwsim
