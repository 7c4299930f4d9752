// The Host: its three records, option lookup, pool creation and the fault settings shared by all pools.

#include <unicode/ustring.h>

#include <cstring>

#include "sim/host/icu_convert.h"
#include "sim/host/sim_host.h"

namespace simhost {
namespace {

std::string utf16_to_utf8(const uint16_t* key, uint64_t length) {
    if (key == nullptr || length == 0 || length > INT32_MAX / 4) return {};
    const auto* units = reinterpret_cast<const UChar*>(key);
    std::string out(static_cast<size_t>(length) * 3, '\0');
    int32_t produced = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &produced, units, static_cast<int32_t>(length),
                       0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<size_t>(produced) : 0);
    return out;
}

}  // namespace

Host::Host() {
    context_.host.create_pool = &Host::create_pool_op;
    context_.owner = this;
    services_.host.get_option = &Host::get_option_op;
    services_.host.nls = &nls_.host;
    services_.owner = this;
    nls_.host.measure = &Host::measure_op;
    nls_.host.needs_conversion = &Host::needs_conversion_op;
    nls_.host.create_transcoder = &Host::create_transcoder_op;
    nls_.owner = this;
    set_session_encoding(kIso88591);
}

Host::~Host() {
    for (auto& [id, converter] : measure_sources_) detail::close_converter(converter);
    for (auto& [id, converter] : measure_targets_) detail::close_converter(converter);
}

// ---- Options ---------------------------------------------------------------------------------------------

void Host::set_session_encoding(int32_t id) { set_option(kSessionEncodingKey, id); }

void Host::set_option(std::string_view key, int32_t value) { options_[std::string(key)] = value; }

void Host::remove_option(std::string_view key) {
    auto it = options_.find(key);
    if (it != options_.end()) options_.erase(it);
}

void Host::set_option_missing(bool missing) { option_missing_ = missing; }

int32_t Host::get_option_op(HostServices* self, const uint16_t* key, uint64_t key_length, int32_t type, void* value,
                            uint64_t* size) {
    return reinterpret_cast<Record<HostServices>*>(self)->owner->get_option(key, key_length, type, value, size);
}

int32_t Host::get_option(const uint16_t* key, uint64_t key_length, int32_t type, void* value, uint64_t* size) {
    std::string name = utf16_to_utf8(key, key_length);
    if (key == nullptr && key_length != 0) error("get_option: null key with length " + std::to_string(key_length));
    const int64_t size_seen = size == nullptr ? -1 : static_cast<int64_t>(*size);

    int32_t result = 1;
    auto it = options_.find(name);
    if (!option_missing_ && it != options_.end() && type == 3) {
        if (value == nullptr || size == nullptr || *size < sizeof(int32_t)) {
            error("get_option: no room for the value of " + name);
        } else {
            // Only the low half of the slot is the host's to write (little-endian: its first four bytes).
            std::memcpy(value, &it->second, sizeof(int32_t));
            result = 0;
        }
    }
    log({"get_option", {static_cast<int64_t>(key_length), type, size_seen, result}, std::move(name), value, nullptr});
    return result;
}

// ---- Pools -----------------------------------------------------------------------------------------------

HostPool* Host::create_pool_op(HostContext* self, const void* attributes, void* handed_on, const char* name) {
    return reinterpret_cast<Record<HostContext>*>(self)->owner->create_pool(attributes, handed_on, name);
}

HostPool* Host::create_pool(const void* attributes, void* handed_on, const char* name) {
    std::string text = name == nullptr ? std::string() : std::string(name);
    if (fail_create_pool_) {
        log({"create_pool", {}, std::move(text), nullptr, nullptr});
        return nullptr;
    }
    pools_.push_back(std::unique_ptr<Pool>(new Pool(this, attributes, handed_on, name)));
    Pool* pool = pools_.back().get();
    log({"create_pool", {}, std::move(text), pool->record(), pool});
    return pool->record();
}

void Host::fail_create_pool(bool fail) { fail_create_pool_ = fail; }

bool Host::allocation_should_fail(uint64_t size) {
    ++allocation_attempts_;
    if (fail_attempt_ != 0 && allocation_attempts_ == fail_attempt_) {
        fail_attempt_ = 0;
        return true;
    }
    return fail_all_allocations_ || size == fail_size_ || size > max_allocation_;
}

void Host::fail_allocation_at(uint64_t n) { fail_attempt_ = n == 0 ? 0 : allocation_attempts_ + n; }

void Host::fail_allocations_of_size(uint64_t size) { fail_size_ = size; }

void Host::fail_all_allocations(bool fail) { fail_all_allocations_ = fail; }

void Host::clear_faults() {
    fail_create_pool_ = false;
    fail_attempt_ = 0;
    fail_size_ = UINT64_MAX;
    fail_all_allocations_ = false;
    fail_create_transcoder_at_ = 0;
    fail_transcode_at_ = 0;
    fail_transcode_bytes_ = 0;
    transcode_overreport_ = 0;
    measure_underreport_ = 0;
    measure_leaves_count_unset_ = false;
    needs_conversion_noise_ = 0;
}

}  // namespace simhost
