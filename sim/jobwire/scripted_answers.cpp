#include "scripted_answers.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace jwsim {
namespace {

// A padded copy never grows past this many elements, whatever the scripted count says: tests that
// announce huge counts are exercising the caller's allocation limits, not reading the elements.
constexpr int32_t kMaxPaddedLength = 65536;

size_t padded_length(int32_t length, bool has_count, int32_t count) {
    int32_t padded = std::max(length, 0);
    if (has_count) padded = std::max(padded, std::min(count, kMaxPaddedLength));
    return static_cast<size_t>(padded);
}

}  // namespace

Answer::Answer(const JwAnswer& a, TextArena& copies)
    : uses_left(a.times > 0 ? a.times : 1),
      result_(a.result),
      pointer_(a.pointer),
      text_(copies.copy(a.text)),
      out_count_(std::clamp(a.out_count, 0, 3)),
      out_texts_{},
      has_count_(a.has_count != 0),
      count_(a.count),
      ints_out_count_(std::clamp(a.ints_out_count, 0, 4)),
      ints_out_{},
      handle_out_(a.handle_out) {
    for (int32_t i = 0; i < out_count_; ++i) out_texts_[i] = copies.copy(a.out_texts[i]);
    for (int32_t i = 0; i < ints_out_count_; ++i) ints_out_[i] = a.ints_out[i];
    if (a.list != nullptr) {
        int32_t length = std::max(a.list_length, 0);
        list_ = copies.allocate<const char*>(padded_length(length, has_count_, count_));
        for (int32_t i = 0; i < length; ++i) list_[i] = copies.copy(a.list[i]);
    }
    if (a.pairs != nullptr) {
        int32_t length = std::max(a.pair_length, 0);
        const NameValuePair* records = copies.copy_pairs(a.pairs, static_cast<size_t>(length));
        pairs_ = copies.allocate<NameValuePair*>(padded_length(length, has_count_, count_));
        for (int32_t i = 0; i < length; ++i) pairs_[i] = const_cast<NameValuePair*>(&records[i]);
    }
}

void Answer::write_count(int32_t* count) const {
    if (has_count_ && count != nullptr) *count = count_;
}

const char** Answer::list(int32_t* count) const {
    write_count(count);
    return list_ != nullptr ? list_ : static_cast<const char**>(pointer());
}

NameValuePair** Answer::pairs(int32_t* count) const {
    write_count(count);
    return pairs_ != nullptr ? pairs_ : static_cast<NameValuePair**>(pointer());
}

void Answer::write_texts(std::initializer_list<const char**> outs) const {
    int32_t i = 0;
    for (const char** out : outs) {
        if (i == out_count_) break;
        if (out != nullptr) *out = out_texts_[i];
        ++i;
    }
}

void Answer::write_ints(std::initializer_list<IntOut> outs) const {
    int32_t i = 0;
    for (const IntOut& out : outs) {
        if (i == ints_out_count_) break;
        if (out.narrow != nullptr) *out.narrow = static_cast<int32_t>(ints_out_[i]);
        if (out.wide != nullptr) *out.wide = ints_out_[i];
        ++i;
    }
}

void Answer::write_buffer(char* buffer, int32_t capacity) const {
    if (out_count_ < 1 || out_texts_[0] == nullptr || buffer == nullptr || capacity <= 0) return;
    size_t length = std::min(std::strlen(out_texts_[0]), static_cast<size_t>(capacity) - 1);
    std::memcpy(buffer, out_texts_[0], length);
    buffer[length] = '\0';
}

void Answer::write_handle(AcjResponse* out) const {
    if (out != nullptr) *out = const_cast<void*>(handle_out_);
}

void ScriptQueue::push(const JwAnswer& scripted) {
    if (scripted.func < 0 || scripted.func >= JW_FUNC_COUNT) {
        std::fprintf(stderr, "jwsim: scripted answer for unknown function %d ignored\n", scripted.func);
        return;
    }
    queues_[scripted.func].push_back(&answers_.emplace_back(scripted, copies_));
    ++queued_;
}

const Answer* ScriptQueue::take(JwFunc func) {
    if (queued_ == 0) return nullptr;
    std::deque<Answer*>& queue = queues_[func];
    if (queue.empty()) return nullptr;
    Answer* answer = queue.front();
    if (--answer->uses_left == 0) {
        queue.pop_front();
        --queued_;
    }
    return answer;
}

void ScriptQueue::clear() {
    for (std::deque<Answer*>& queue : queues_) queue.clear();
    answers_.clear();
    copies_.clear();
    queued_ = 0;
}

}  // namespace jwsim
