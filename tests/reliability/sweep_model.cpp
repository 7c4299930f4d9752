#include "reliability/sweep_model.h"

namespace vxrel {

const char* site_name(SiteKind kind) {
    static const char* const names[kSiteKinds] = {
        "record",
        "conversion state",
        "inbound slot (blank)",
        "inbound slot (text)",
        "outbound slot (blank)",
        "outbound slot (text)",
        "pair copy array",
        "pair copy text",
        "string list array",
        "string list text",
        "pair list pointers",
        "pair list block",
        "pair list text",
    };
    return names[static_cast<int>(kind)];
}

SlotModel SlotModel::of(const ConversionState& state) {
    SlotModel m;
    for (int k = 0; k < kInSlots; ++k) {
        m.in_used[k] = state.in_text[k] != nullptr;
        m.in_capacity[k] = state.in_capacity[k];
    }
    for (int k = 0; k < kOutSlots; ++k) {
        m.out_used[k] = state.out_text[k] != nullptr;
        m.out_capacity[k] = state.out_capacity[k];
    }
    return m;
}

// A blank text takes a 64-byte buffer only when the slot has none; any other text takes M + 1 bytes
// when the slot has no buffer or one with less capacity than M.
void Planner::slot_texts(const std::vector<PlannedText>& texts, bool inbound) {
    bool* used = inbound ? slots_.in_used.data() : slots_.out_used.data();
    uint64_t* capacity = inbound ? slots_.in_capacity.data() : slots_.out_capacity.data();
    const SiteKind blank_kind = inbound ? SiteKind::in_slot_blank : SiteKind::out_slot_blank;
    const SiteKind text_kind = inbound ? SiteKind::in_slot_text : SiteKind::out_slot_text;
    for (size_t k = 0; k < texts.size(); ++k) {
        const int slot = static_cast<int>(k);
        if (texts[k].blank) {
            if (!used[k]) plan_.allocations.push_back({{blank_kind, slot}, 64, 0});
            if (!used[k]) capacity[k] = 63;
            used[k] = true;
            continue;
        }
        const uint64_t needed = texts[k].converted.size();
        if (!used[k] || needed > capacity[k]) {
            plan_.allocations.push_back({{text_kind, slot, 0, used[k]}, needed + 1, 0});
            capacity[k] = needed;
            used[k] = true;
        }
        if (converting_) plan_.transcodes.push_back({text_kind, slot});
    }
}

void Planner::new_text(SiteKind kind, int index, int field, const PlannedText& text) {
    plan_.allocations.push_back({{kind, index, field}, text.converted.size() + 1, 0});
    if (converting_) plan_.transcodes.push_back({kind, index, field});
}

void Planner::pair_copy(const std::vector<std::array<PlannedText, 2>>& pairs) {
    if (pairs.empty()) return;
    plan_.allocations.push_back({{SiteKind::pair_copy_array}, pairs.size() * sizeof(NameValuePair), POOL_FLAG_ARRAY});
    for (size_t i = 0; i < pairs.size(); ++i) {
        for (int field = 0; field < 2; ++field)
            new_text(SiteKind::pair_copy_text, static_cast<int>(i), field, pairs[i][field]);
    }
}

void Planner::string_list(const std::vector<PlannedText>& texts, int32_t count) {
    if (count < 0) return;
    plan_.allocations.push_back(
        {{SiteKind::list_array}, static_cast<uint64_t>(count) * sizeof(char*), POOL_FLAG_ARRAY});
    for (int32_t i = 0; i < count; ++i) new_text(SiteKind::list_text, i, 0, texts[static_cast<size_t>(i)]);
}

void Planner::pair_list(const std::vector<std::array<PlannedText, 2>>& pairs, int32_t count) {
    if (count <= 0) return;
    const auto n = static_cast<uint64_t>(count);
    plan_.allocations.push_back({{SiteKind::pair_list_pointers}, n * sizeof(void*), 0});
    plan_.allocations.push_back({{SiteKind::pair_list_block}, n * sizeof(NameValuePair), 0});
    for (int32_t i = 0; i < count; ++i) {
        for (int field = 0; field < 2; ++field) {
            new_text(SiteKind::pair_list_text, i, field, pairs[static_cast<size_t>(i)][field]);
        }
    }
}

}  // namespace vxrel
