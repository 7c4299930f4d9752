// Texts handed to callers as arrays: the texts and the array of pointers to them live together.
//
// Moving a list keeps every address it handed out (vectors move their buffers); copying would not,
// so lists are move-only.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/jobwire.h"

namespace jwsim {

// Texts with a null-terminated array of pointers to them.
class TextList {
  public:
    TextList() : pointers_{nullptr} {}
    explicit TextList(std::vector<std::string> texts);
    TextList(TextList&&) = default;
    TextList& operator=(TextList&&) = default;
    TextList(const TextList&) = delete;
    TextList& operator=(const TextList&) = delete;

    const char** pointers() { return pointers_.data(); }
    int32_t size() const { return static_cast<int32_t>(texts_.size()); }

  private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

// Name/value records with a null-terminated array of pointers to them.
class PairList {
  public:
    PairList() : pointers_{nullptr} {}
    explicit PairList(std::vector<std::pair<std::string, std::string>> pairs);
    PairList(PairList&&) = default;
    PairList& operator=(PairList&&) = default;
    PairList(const PairList&) = delete;
    PairList& operator=(const PairList&) = delete;

    NameValuePair** pointers() { return pointers_.data(); }
    int32_t size() const { return static_cast<int32_t>(records_.size()); }

  private:
    std::vector<std::pair<std::string, std::string>> texts_;
    std::vector<NameValuePair> records_;
    std::vector<NameValuePair*> pointers_;
};

}  // namespace jwsim
