#include "reliability/instance_audit.h"

#include <cstring>
#include <map>

namespace vxrel {
namespace {

class Auditor {
  public:
    explicit Auditor(simhost::Pool& pool) : pool_(pool) {}

    // Notes one block the instance owns; false (with a problem noted) when it is not live.
    bool own(const void* block, const std::string& what) {
        if (!pool_.owns_live(block)) {
            problem(what + " points to a block the pool does not hold");
            return false;
        }
        auto [it, fresh] = owners_.emplace(block, what);
        if (!fresh) problem(what + " shares its block with " + it->second);
        return true;
    }

    void text(const char* block, const std::string& what) {
        if (own(block, what) && !terminated_in_block(pool_, block)) problem(what + " has no terminator in its block");
    }

    void slot(const char* block, uint64_t capacity, const std::string& what) {
        if (block == nullptr) {
            if (capacity != 0) problem(what + " is empty but records capacity " + std::to_string(capacity));
            return;
        }
        if (!own(block, what)) return;
        if (pool_.block_size(block) < capacity + 1) {
            problem(what + " records capacity " + std::to_string(capacity) + " in a block of " +
                    std::to_string(pool_.block_size(block)) + " bytes");
        } else if (std::memchr(block, '\0', capacity + 1) == nullptr) {
            problem(what + " holds no terminator within its capacity");
        }
    }

    void finish() {
        for (const simhost::Allocation& a : pool_.live_allocations()) {
            if (owners_.count(a.block) == 0) {
                problem("block #" + std::to_string(a.serial) + " of " + std::to_string(a.size) +
                        " bytes is live but the instance does not reach it");
            }
        }
        if (!pool_.check_guards()) problem("a guard byte was overwritten");
        for (const std::string& e : pool_.errors()) problem(e);
    }

    void problem(std::string text) { problems_.push_back(std::move(text)); }
    std::vector<std::string> problems() && { return std::move(problems_); }

  private:
    simhost::Pool& pool_;
    std::map<const void*, std::string> owners_;
    std::vector<std::string> problems_;
};

void audit_string_list(Auditor& audit, const simhost::Pool& pool, const ConversionState& state) {
    if (state.string_list == nullptr) {
        if (state.string_count != 0)
            audit.problem("no string list but a count of " + std::to_string(state.string_count));
        return;
    }
    if (!audit.own(state.string_list, "string list")) return;
    const uint64_t room = pool.block_size(state.string_list) / sizeof(char*);
    if (state.string_count < 0 || static_cast<uint64_t>(state.string_count) > room) {
        audit.problem("string list counts " + std::to_string(state.string_count) + " texts in room for " +
                      std::to_string(room));
        return;
    }
    for (int32_t i = 0; i < state.string_count; ++i) {
        const char* text = state.string_list[i];
        if (text == nullptr) {
            audit.problem("string list text " + std::to_string(i) + " is null within the count");
        } else {
            audit.text(text, "string list text " + std::to_string(i));
        }
    }
}

void audit_pair_list(Auditor& audit, const simhost::Pool& pool, const ConversionState& state) {
    if (state.pair_list == nullptr) {
        if (state.pair_count != 0) audit.problem("no pair list but a count of " + std::to_string(state.pair_count));
        return;
    }
    if (state.pair_count <= 0) {
        audit.problem("a stored pair list with count " + std::to_string(state.pair_count));
        return;
    }
    if (!audit.own(state.pair_list, "pair list pointers")) return;
    const uint64_t count = static_cast<uint64_t>(state.pair_count);
    if (pool.block_size(state.pair_list) < count * sizeof(void*)) {
        audit.problem("pair list pointer array too small for its count");
        return;
    }
    NameValuePair* block = state.pair_list[0];
    if (!audit.own(block, "pair list records")) return;
    if (pool.block_size(block) < count * sizeof(NameValuePair)) {
        audit.problem("pair list record block too small for its count");
        return;
    }
    for (uint64_t i = 0; i < count; ++i) {
        const std::string at = "pair list record " + std::to_string(i);
        if (state.pair_list[i] != block + i) audit.problem(at + " is not reached through its pointer");
        if (block[i].name != nullptr) audit.text(block[i].name, at + " name");
        if (block[i].value != nullptr) audit.text(block[i].value, at + " value");
    }
}

}  // namespace

bool terminated_in_block(const simhost::Pool& pool, const char* text) {
    const uint64_t size = pool.block_size(text);
    return size != UINT64_MAX && std::memchr(text, '\0', static_cast<size_t>(size)) != nullptr;
}

std::vector<std::string> audit_instance(const BridgeInstance* rec, simhost::Pool& pool) {
    Auditor audit(pool);
    audit.own(rec, "record");
    const ConversionState* state = rec->conversion;
    if (state != nullptr && audit.own(state, "conversion state")) {
        for (int k = 0; k < kInSlots; ++k) {
            audit.slot(state->in_text[k], state->in_capacity[k], "inbound slot " + std::to_string(k));
        }
        for (int k = 0; k < kOutSlots; ++k) {
            audit.slot(state->out_text[k], state->out_capacity[k], "outbound slot " + std::to_string(k));
        }
        audit_string_list(audit, pool, *state);
        audit_pair_list(audit, pool, *state);
    }
    audit.finish();
    return std::move(audit).problems();
}

}  // namespace vxrel
