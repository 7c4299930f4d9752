// The frame every client function runs in: hold the library lock, record the call, and find out
// whether a scripted answer replaces the server's for this call.
#pragma once

#include <mutex>

#include "library_state.h"

// The client functions and jwsim_api are the library's only exports.
#define JW_EXPORT extern "C" __attribute__((visibility("default")))

namespace jwsim {

class FunctionCall {
  public:
    template <class... Args>
    explicit FunctionCall(JwFunc func, Args... args)
        : state_(library_state()),
          guard_(state_.lock),
          recorder_(state_.recording ? &state_.calls.append(func, static_cast<int32_t>(sizeof...(Args))) : nullptr,
                    &state_.calls.copies()) {
        recorder_.add(args...);
        answer_ = state_.scripts.take(func);
    }
    FunctionCall(const FunctionCall&) = delete;
    FunctionCall& operator=(const FunctionCall&) = delete;

    // Records the pair-array argument of the call.
    void record_pairs(const NameValuePair* pairs, int32_t count) { recorder_.add_pairs(pairs, count); }
    // The scripted answer for this call, or null when the server answers.
    const Answer* scripted() const { return answer_; }
    Server& server() { return state_.server; }

  private:
    LibraryState& state_;
    std::lock_guard<std::mutex> guard_;
    CallRecorder recorder_;
    const Answer* answer_ = nullptr;
};

}  // namespace jwsim
