// Arguments as the host hands them to an entry: texts and name/value pair arrays in the session
// encoding, alive for the duration of the call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host_session.h"
#include "platform/jobwire.h"

namespace vxhost {

// A text in the session encoding, or a null pointer.
class SessionText {
  public:
    SessionText(const SessionEncoding& encoding, const Text& text) {
        if (text) bytes_ = encoding.to_session(*text);
    }
    const char* c_str() const { return bytes_ ? bytes_->c_str() : nullptr; }

  private:
    std::optional<std::string> bytes_;
};

// A contiguous NameValuePair array in the session encoding, or a null array.
class SessionPairs {
  public:
    SessionPairs(const SessionEncoding& encoding, const Pairs& pairs) {
        if (!pairs) return;
        texts_.reserve(pairs->size() * 2);
        for (const auto& [name, value] : *pairs) {
            texts_.emplace_back(encoding, name);
            texts_.emplace_back(encoding, value);
        }
        // The texts no longer move: take their addresses now.
        for (size_t i = 0; i + 1 < texts_.size(); i += 2) {
            records_.push_back(NameValuePair{texts_[i].c_str(), texts_[i + 1].c_str()});
        }
        present_ = true;
    }
    const NameValuePair* data() const { return present_ ? records_.data() : nullptr; }
    int32_t count() const { return static_cast<int32_t>(records_.size()); }

  private:
    std::vector<SessionText> texts_;
    std::vector<NameValuePair> records_;
    bool present_ = false;
};

}  // namespace vxhost
