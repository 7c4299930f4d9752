// Character-set services: measure, needs_conversion and transcoders, all real ICU conversions, with the
// fault and hostile-answer settings the Host offers.

#include <algorithm>
#include <cstring>

#include "sim/host/icu_convert.h"
#include "sim/host/sim_host.h"

namespace simhost {
namespace {

// Encoding ids travel as signed 32-bit values widened to 64 bits; anything else names no encoding.
bool known_id(int64_t id) { return id >= INT32_MIN && id <= INT32_MAX && find_encoding(static_cast<int32_t>(id)); }

std::string copy_text(const char* text, uint64_t length) {
    return text == nullptr ? std::string() : std::string(text, static_cast<size_t>(length));
}

}  // namespace

// ---- Host side ---------------------------------------------------------------------------------------------

int32_t Host::measure_op(HostNls* self, int64_t from, const char* text, uint64_t length, int64_t to, uint64_t* count) {
    return reinterpret_cast<Record<HostNls>*>(self)->owner->measure(from, text, length, to, count);
}

uint32_t Host::needs_conversion_op(HostNls* self, int64_t from, int64_t to, int64_t reserved) {
    return reinterpret_cast<Record<HostNls>*>(self)->owner->needs_conversion(from, to, reserved);
}

HostTranscoder* Host::create_transcoder_op(HostNls* self, int64_t from, int64_t to, int64_t reserved_a,
                                           int64_t reserved_b) {
    return reinterpret_cast<Record<HostNls>*>(self)->owner->create_transcoder(from, to, reserved_a, reserved_b);
}

UConverter* Host::cached_converter(std::map<int32_t, UConverter*>& cache, int32_t id) {
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    UConverter* converter = detail::open_converter(id);
    if (converter != nullptr) cache[id] = converter;
    return converter;
}

int32_t Host::measure(int64_t from, const char* text, uint64_t length, int64_t to, uint64_t* count) {
    ++measure_calls_;
    uint64_t true_count = 0;
    int32_t result = 0;
    if (text == nullptr && length != 0) {
        error("measure: null text with length " + std::to_string(length));
        result = 1;
    } else if (!known_id(from) || !known_id(to)) {
        result = 1;
    } else {
        UConverter* source = cached_converter(measure_sources_, static_cast<int32_t>(from));
        UConverter* target = cached_converter(measure_targets_, static_cast<int32_t>(to));
        if (source == nullptr || target == nullptr ||
            !detail::convert_all(source, target, text, static_cast<size_t>(length), nullptr, &true_count)) {
            result = 1;
        }
    }
    const uint64_t reported = true_count > measure_underreport_ ? true_count - measure_underreport_ : 0;
    const bool writes = !measure_leaves_count_unset_;
    if (count == nullptr) {
        error("measure: null count");
    } else if (writes) {
        *count = reported;
    }
    if (logging_) {
        log({"measure",
             {from, to, static_cast<int64_t>(length), writes ? static_cast<int64_t>(reported) : -1, result},
             copy_text(text, length),
             nullptr,
             nullptr});
    }
    return result;
}

uint32_t Host::needs_conversion(int64_t from, int64_t to, int64_t reserved) {
    const bool same =
        known_id(from) && known_id(to) && same_encoding(static_cast<int32_t>(from), static_cast<int32_t>(to));
    const uint32_t result = (same ? 0u : 1u) | (needs_conversion_noise_ & ~0xFFu);
    log({"needs_conversion", {from, to, reserved, result}, {}, nullptr, nullptr});
    return result;
}

HostTranscoder* Host::create_transcoder(int64_t from, int64_t to, int64_t reserved_a, int64_t reserved_b) {
    ++create_transcoder_calls_;
    HostTranscoder* made = nullptr;
    const bool injected = fail_create_transcoder_at_ != 0 && create_transcoder_calls_ == fail_create_transcoder_at_;
    if (injected) fail_create_transcoder_at_ = 0;
    if (!injected && known_id(from) && known_id(to)) {
        UConverter* source = detail::open_converter(static_cast<int32_t>(from));
        UConverter* target = detail::open_converter(static_cast<int32_t>(to));
        if (source != nullptr && target != nullptr) {
            transcoders_.push_back(std::unique_ptr<Transcoder>(new Transcoder(
                this, static_cast<int32_t>(from), static_cast<int32_t>(to), source, target, ++transcoder_serial_)));
            made = transcoders_.back()->record();
        } else {
            detail::close_converter(source);
            detail::close_converter(target);
        }
    }
    log({"create_transcoder", {from, to, reserved_a, reserved_b}, {}, made, nullptr});
    return made;
}

void Host::destroy_transcoder(Transcoder& t) {
    log({"transcoder.destroy", {t.from_, t.to_}, {}, t.record(), nullptr});
    if (t.destroyed_) {
        error("transcoder " + std::to_string(t.from_) + "->" + std::to_string(t.to_) + " destroyed twice");
        return;
    }
    detail::close_converter(t.source_);
    detail::close_converter(t.target_);
    t.source_ = t.target_ = nullptr;
    t.destroyed_ = true;
    t.destroyed_serial_ = ++transcoder_serial_;
}

int32_t Host::transcode(Transcoder& t, const char* text, uint64_t length, char* buffer, uint64_t capacity,
                        uint64_t* written, uint32_t* run) {
    ++transcode_calls_;
    ++t.calls_;
    int32_t status = 0;
    uint64_t put = 0;
    if (t.destroyed_) {
        error("transcode on a destroyed transcoder");
        status = 3;
    } else if (text == nullptr && length != 0) {
        error("transcode: null text with length " + std::to_string(length));
        status = 3;
    } else if (buffer == nullptr && capacity != 0) {
        error("transcode: null buffer with capacity " + std::to_string(capacity));
        status = 3;
    } else {
        t.converted_.clear();
        uint64_t total = 0;
        if (!detail::convert_all(t.source_, t.target_, text, static_cast<size_t>(length), &t.converted_, &total)) {
            status = 3;
        } else if (fail_transcode_at_ != 0 && transcode_calls_ == fail_transcode_at_) {
            fail_transcode_at_ = 0;
            put = std::min({fail_transcode_bytes_, capacity, total});
            status = 1;
        } else if (total <= capacity) {
            put = total;
        } else {
            put = detail::whole_character_prefix(t.source_, t.target_, text, static_cast<size_t>(length), capacity);
            status = 2;
        }
        if (put != 0) std::memcpy(buffer, t.converted_.data(), static_cast<size_t>(put));
    }
    const uint64_t reported = put + transcode_overreport_;
    if (written == nullptr) {
        error("transcode: null written");
    } else {
        *written = reported;
    }
    if (logging_) {
        log({"transcode",
             {static_cast<int64_t>(length), static_cast<int64_t>(capacity), static_cast<int64_t>(reported), status,
              run == nullptr ? -1 : static_cast<int64_t>(*run), t.from_, t.to_},
             copy_text(text, length),
             t.record(),
             nullptr});
    }
    return status;
}

size_t Host::transcoders_live() const {
    return static_cast<size_t>(
        std::count_if(transcoders_.begin(), transcoders_.end(), [](const auto& t) { return !t->destroyed(); }));
}

void Host::fail_create_transcoder(int nth) {
    fail_create_transcoder_at_ = nth <= 0 ? 0 : create_transcoder_calls_ + static_cast<uint64_t>(nth);
}

void Host::fail_transcode(uint64_t nth_call, uint64_t bytes_written) {
    fail_transcode_at_ = nth_call == 0 ? 0 : transcode_calls_ + nth_call;
    fail_transcode_bytes_ = bytes_written;
}

void Host::transcode_overreport(uint64_t extra) { transcode_overreport_ = extra; }
void Host::measure_underreport(uint64_t less) { measure_underreport_ = less; }
void Host::measure_leaves_count_unset(bool unset) { measure_leaves_count_unset_ = unset; }
void Host::needs_conversion_noise(uint32_t high_bits) { needs_conversion_noise_ = high_bits; }

// ---- Transcoder ------------------------------------------------------------------------------------------

Transcoder::Transcoder(Host* host, int32_t from, int32_t to, UConverter* source, UConverter* target, uint64_t serial)
    : record_{}, host_(host), from_(from), to_(to), source_(source), target_(target), created_serial_(serial) {
    record_.host.destroy = &Transcoder::destroy_op;
    record_.host.transcode = &Transcoder::transcode_op;
    record_.owner = this;
}

Transcoder::~Transcoder() {
    detail::close_converter(source_);
    detail::close_converter(target_);
}

Transcoder* Transcoder::from_record(HostTranscoder* record) {
    if (record == nullptr || record->transcode != &Transcoder::transcode_op) return nullptr;
    return reinterpret_cast<Record*>(record)->owner;
}

void Transcoder::destroy_op(HostTranscoder* self) {
    Transcoder* t = from_record(self);
    t->host_->destroy_transcoder(*t);
}

int32_t Transcoder::transcode_op(HostTranscoder* self, const char* text, uint64_t length, char* buffer,
                                 uint64_t capacity, uint64_t* written, uint32_t* run) {
    Transcoder* t = from_record(self);
    return t->host_->transcode(*t, text, length, buffer, capacity, written, run);
}

}  // namespace simhost
