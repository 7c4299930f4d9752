#include "call_log.h"

namespace jwsim {

JwCall& CallLog::append(JwFunc func, int32_t arg_count) {
    JwCall& call = calls_.emplace_back();
    call.func = func;
    call.arg_count = arg_count;
    return call;
}

void CallLog::clear() {
    calls_.clear();
    copies_.clear();
}

void CallRecorder::add_pairs(const NameValuePair* pairs, int32_t count) {
    if (call_ == nullptr || pairs == nullptr || count <= 0) return;
    call_->pairs = copies_->copy_pairs(pairs, static_cast<size_t>(count));
    call_->pair_count = count;
}

}  // namespace jwsim
