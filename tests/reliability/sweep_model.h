// What an entry call asks of the host, worked out from its inputs and the instance's slots before the
// call: every allocation in order (with its size and flag word) and every transcode, each tagged with
// the place in the library that makes it. The sweep compares the host's log of an unfailed call with
// this plan, then fails each planned allocation and transcode in turn and checks what that place's
// failure must leave.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/convert.h"

namespace vxrel {

// The allocation sites of the library (src/), one kind each:
//   frame/instance.cpp  bridge_create_instance   record, state
//   frame/convert.cpp   convert_into_slots       in_slot_blank / out_slot_blank (64 bytes, null or empty text),
//                                                in_slot_text / out_slot_text (M + 1 bytes, new or grown)
//                       conv_in_pairs            pair_copy_array
//                       conv_out_list            list_array
//                       conv_out_pair_list       pair_list_pointers, pair_list_block
//                       convert_to_new_buffer    pair_copy_text, list_text, pair_list_text
// Transcodes happen at the *_text kinds only.
enum class SiteKind {
    record,
    state,
    in_slot_blank,
    in_slot_text,
    out_slot_blank,
    out_slot_text,
    pair_copy_array,
    pair_copy_text,
    list_array,
    list_text,
    pair_list_pointers,
    pair_list_block,
    pair_list_text,
};
inline constexpr int kSiteKinds = static_cast<int>(SiteKind::pair_list_text) + 1;
const char* site_name(SiteKind kind);

struct Site {
    SiteKind kind;
    int index = 0;       // slot, list position or pair record
    int field = 0;       // 0 name, 1 value (pair sites)
    bool grown = false;  // a slot buffer replaced by a larger one (its old buffer freed first)
};

struct PlannedAllocation {
    Site site;
    uint64_t size;
    uint32_t flags;
};

struct Plan {
    std::vector<PlannedAllocation> allocations;
    std::vector<Site> transcodes;
};

// The scratch slots as the planner sees them.
struct SlotModel {
    std::array<bool, kInSlots> in_used{};
    std::array<uint64_t, kInSlots> in_capacity{};
    std::array<bool, kOutSlots> out_used{};
    std::array<uint64_t, kOutSlots> out_capacity{};
    static SlotModel of(const ConversionState& state);
};

// One text as the planner sees it: whether the host or client passed null or empty, and the bytes it
// converts to.
struct PlannedText {
    bool blank;
    std::string converted;
};

class Planner {
  public:
    Planner(const SlotModel& slots, bool converting) : slots_(slots), converting_(converting) {}

    void inbound_slots(const std::vector<PlannedText>& texts) { slot_texts(texts, true); }
    void outbound_slots(const std::vector<PlannedText>& texts) { slot_texts(texts, false); }
    void pair_copy(const std::vector<std::array<PlannedText, 2>>& pairs);
    void string_list(const std::vector<PlannedText>& texts, int32_t count);
    void pair_list(const std::vector<std::array<PlannedText, 2>>& pairs, int32_t count);

    const Plan& plan() const { return plan_; }

  private:
    void slot_texts(const std::vector<PlannedText>& texts, bool inbound);
    void new_text(SiteKind kind, int index, int field, const PlannedText& text);

    SlotModel slots_;
    bool converting_;
    Plan plan_;
};

}  // namespace vxrel
