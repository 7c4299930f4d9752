// Accounting pools: every block is filled with a pattern and followed by guard bytes, so an extension that
// reads uninitialised memory, writes past a block or frees badly is caught.

#include <cstdlib>
#include <cstring>

#include "sim/host/sim_host.h"

namespace simhost {
namespace {

std::string describe(const Allocation& a) {
    return "block #" + std::to_string(a.serial) + " (" + std::to_string(a.size) + " bytes)";
}

}  // namespace

Pool::Pool(Host* host, const void* attributes, void* handed_on, const char* name)
    : record_{}, host_(host), name_(name == nullptr ? "" : name), handed_on_(handed_on) {
    record_.host.destroy = &Pool::destroy_op;
    record_.host.allocate = &Pool::allocate_op;
    record_.host.free = &Pool::free_op;
    record_.owner = this;
    if (attributes == nullptr) {
        attributes_null_ = true;
    } else {
        std::memcpy(attributes_, attributes, sizeof attributes_);
    }
}

Pool::~Pool() {
    for (const auto& [block, index] : live_) std::free(const_cast<void*>(block));
}

Pool* Pool::from_record(HostPool* record) {
    if (record == nullptr || record->allocate != &Pool::allocate_op) return nullptr;
    return reinterpret_cast<Record*>(record)->owner;
}

void Pool::destroy_op(HostPool* self) { from_record(self)->destroy(); }

void* Pool::allocate_op(HostPool* self, uint64_t size, uint32_t flags) {
    return from_record(self)->allocate(size, flags);
}

void Pool::free_op(HostPool* self, void* block) { from_record(self)->release(block); }

void Pool::error(std::string message) { errors_.push_back("pool '" + name_ + "': " + std::move(message)); }

void* Pool::allocate(uint64_t size, uint32_t flags) {
    if (destroyed_) {
        error("allocate of " + std::to_string(size) + " bytes after destroy");
        if (host_->logging_) host_->log({"pool.allocate", {static_cast<int64_t>(size), flags}, {}, nullptr, this});
        return nullptr;
    }
    void* block = nullptr;
    if (!host_->allocation_should_fail(size)) {
        block = std::malloc(static_cast<size_t>(size) + kGuardBytes);
    }
    // An event is only built when it is kept: its vector costs a heap allocation of its own.
    if (host_->logging_) host_->log({"pool.allocate", {static_cast<int64_t>(size), flags}, {}, block, this});
    if (block == nullptr) return nullptr;

    auto* bytes = static_cast<unsigned char*>(block);
    std::memset(bytes, kFillByte, static_cast<size_t>(size));
    std::memset(bytes + size, kGuardByte, kGuardBytes);
    live_[block] = allocations_.size();
    allocations_.push_back({size, flags, block, false, host_->next_serial(), false});
    live_bytes_ += size;
    return block;
}

bool Pool::guard_intact(const Allocation& a) const {
    const auto* guard = static_cast<const unsigned char*>(a.block) + a.size;
    for (size_t i = 0; i < kGuardBytes; ++i) {
        if (guard[i] != kGuardByte) return false;
    }
    return true;
}

void Pool::release(void* block) {
    auto it = live_.find(block);
    const int64_t size = it == live_.end() ? -1 : static_cast<int64_t>(allocations_[it->second].size);
    if (host_->logging_) host_->log({"pool.free", {size}, {}, block, this});
    if (destroyed_) {
        error("free after destroy");
        return;
    }
    if (it == live_.end()) {
        bool was_ours = false;
        for (const Allocation& a : allocations_) was_ours = was_ours || (a.block == block && a.freed);
        error(block == nullptr ? std::string("free of a null pointer")
              : was_ours       ? "double free of a block"
                               : "free of a pointer the pool never gave out");
        return;
    }
    const size_t index = it->second;
    Allocation& a = allocations_[index];
    if (!guard_intact(a)) error("guard overwritten behind " + describe(a) + ", found at free");
    std::free(block);
    a.freed = true;
    live_bytes_ -= a.size;
    live_.erase(it);
    ++free_count_;
    if (!host_->allocation_history_) forget(index);
}

void Pool::forget(size_t index) {
    // The last record takes the freed one's place; a live block's index follows it.
    const size_t last = allocations_.size() - 1;
    if (index != last) {
        allocations_[index] = allocations_[last];
        if (!allocations_[index].freed) live_[allocations_[index].block] = index;
    }
    allocations_.pop_back();
}

void Pool::destroy() {
    if (host_->logging_) host_->log({"pool.destroy", {static_cast<int64_t>(live_.size())}, {}, record(), this});
    if (destroyed_) {
        error("destroyed twice");
        return;
    }
    for (const auto& [block, index] : live_) {
        Allocation& a = allocations_[index];
        if (!guard_intact(a)) error("guard overwritten behind " + describe(a) + ", found at destroy");
        std::free(const_cast<void*>(block));
        a.freed = true;
        a.released_by_destroy = true;
    }
    live_.clear();
    live_bytes_ = 0;
    destroyed_ = true;
}

bool Pool::check_guards() {
    bool intact = true;
    for (const auto& [block, index] : live_) {
        const Allocation& a = allocations_[index];
        if (!guard_intact(a)) {
            error("guard overwritten behind " + describe(a) + ", found at check");
            intact = false;
        }
    }
    return intact;
}

std::vector<Allocation> Pool::live_allocations() const {
    std::vector<Allocation> result;
    for (const Allocation& a : allocations_) {
        if (!a.freed) result.push_back(a);
    }
    return result;
}

uint64_t Pool::block_size(const void* block) const {
    auto it = live_.find(block);
    return it == live_.end() ? UINT64_MAX : allocations_[it->second].size;
}

uint32_t Pool::block_flags(const void* block) const {
    auto it = live_.find(block);
    return it == live_.end() ? 0 : allocations_[it->second].flags;
}

}  // namespace simhost
