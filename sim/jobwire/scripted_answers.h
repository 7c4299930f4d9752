// Scripted answers: queued by tests, taken by the next calls of their function in FIFO order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>

#include "jwsim.h"
#include "text_arena.h"

namespace jwsim {

// An integer out-parameter of either width.
struct IntOut {
    IntOut(int32_t* p) : narrow(p) {}
    IntOut(int64_t* p) : wide(p) {}
    int32_t* narrow = nullptr;
    int64_t* wide = nullptr;
};

// A queued answer whose texts, list and pairs live in the script arena until reset.
class Answer {
  public:
    Answer(const JwAnswer& scripted, TextArena& copies);

    int32_t status() const { return static_cast<int32_t>(result_); }
    void* pointer() const { return const_cast<void*>(pointer_); }
    const char* text() const { return text_ != nullptr ? text_ : static_cast<const char*>(pointer_); }
    const char** list(int32_t* count) const;
    NameValuePair** pairs(int32_t* count) const;

    void write_texts(std::initializer_list<const char**> outs) const;
    void write_ints(std::initializer_list<IntOut> outs) const;
    void write_buffer(char* buffer, int32_t capacity) const;
    void write_handle(AcjResponse* out) const;

    int32_t uses_left = 1;

  private:
    void write_count(int32_t* count) const;

    int64_t result_;
    const void* pointer_;
    const char* text_;
    int32_t out_count_;
    const char* out_texts_[3];
    bool has_count_;
    int32_t count_;
    const char** list_ = nullptr;      // null when the answer carries no list
    NameValuePair** pairs_ = nullptr;  // null when the answer carries no pairs
    int32_t ints_out_count_;
    int64_t ints_out_[4];
    const void* handle_out_;
};

class ScriptQueue {
  public:
    // Copies `scripted` behind the answers already queued for its function; ignores an unknown function.
    void push(const JwAnswer& scripted);
    // The answer for this call of `func`, using it up once; null when none is queued.
    const Answer* take(JwFunc func);
    void clear();

  private:
    std::deque<Answer> answers_;  // every answer queued since reset, at stable addresses
    std::array<std::deque<Answer*>, JW_FUNC_COUNT> queues_;
    size_t queued_ = 0;  // answers still waiting, so calls without scripts skip the lookup
    TextArena copies_;
};

}  // namespace jwsim
