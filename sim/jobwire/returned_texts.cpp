#include "returned_texts.h"

#include <utility>

namespace jwsim {

const char** ReturnedTexts::keep(std::string_view function, std::vector<std::string> texts) {
    TextList& slot = slots_[function];
    slot = TextList(std::move(texts));
    return slot.pointers();
}

const char* ReturnedTexts::keep(std::string_view function, std::string text) {
    std::vector<std::string> texts;
    texts.push_back(std::move(text));
    return keep(function, std::move(texts))[0];
}

}  // namespace jwsim
