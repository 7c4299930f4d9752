// Texts a connection hands out, kept per client function.
//
// What a function returns stays valid until the next call of the same function on the same handle,
// whatever other calls happen in between: each function has its own slot, replaced only by its own
// next answer.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "text_list.h"

namespace jwsim {

class ReturnedTexts {
  public:
    // Keeps `texts` in the slot of `function` (a name with static storage, such as __func__) and
    // returns the null-terminated array of pointers to them.
    const char** keep(std::string_view function, std::vector<std::string> texts);
    const char* keep(std::string_view function, std::string text);

  private:
    std::map<std::string_view, TextList> slots_;
};

}  // namespace jwsim
