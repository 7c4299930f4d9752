#include "text_list.h"

#include <utility>

namespace jwsim {

TextList::TextList(std::vector<std::string> texts) : texts_(std::move(texts)) {
    pointers_.reserve(texts_.size() + 1);
    for (const std::string& text : texts_) pointers_.push_back(text.c_str());
    pointers_.push_back(nullptr);
}

PairList::PairList(std::vector<std::pair<std::string, std::string>> pairs) : texts_(std::move(pairs)) {
    records_.reserve(texts_.size());
    for (const auto& [name, value] : texts_) records_.push_back({name.c_str(), value.c_str()});
    pointers_.reserve(records_.size() + 1);
    for (NameValuePair& record : records_) pointers_.push_back(&record);
    pointers_.push_back(nullptr);
}

}  // namespace jwsim
