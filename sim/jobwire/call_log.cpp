#include "call_log.h"

namespace jwsim {

JwCall& CallLog::append(JwFunc func, int32_t arg_count) {
    if (size_ == chunks_.size() * kChunkLength) chunks_.push_back(std::make_unique<JwCall[]>(kChunkLength));
    JwCall& call = chunks_[size_ / kChunkLength][size_ % kChunkLength];
    ++size_;
    call = JwCall{};
    call.func = func;
    call.arg_count = arg_count;
    return call;
}

void CallLog::clear() {
    if (chunks_.size() > 1) chunks_.resize(1);
    size_ = 0;
    copies_.clear();
}

void CallRecorder::add_pairs(const NameValuePair* pairs, int32_t count) {
    if (call_ == nullptr || pairs == nullptr || count <= 0) return;
    call_->pairs = copies_->copy_pairs(pairs, static_cast<size_t>(count));
    call_->pair_count = count;
}

}  // namespace jwsim
