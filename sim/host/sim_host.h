// Stand-in host kernel: the records of platform/host.h backed by accounting pools, an option table and
// ICU conversions, with fault injection and an event log so tests can see every call an extension makes.
//
// Single-threaded by design, like the extension it hosts: one Host serves one caller at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/host.h"

struct UConverter;

namespace simhost {

// ---- Encodings -------------------------------------------------------------------------------------------

inline constexpr int32_t kUtf8 = 20;           // UTF-8, the host's id for the client library's texts
inline constexpr int32_t kIso88591 = 4;        // ISO-8859-1
inline constexpr int32_t kWindows1252 = 2252;  // windows-1252
inline constexpr int32_t kShiftJis = 17;       // Shift_JIS
inline constexpr int32_t kEbcdic037 = 37;      // EBCDIC US/Canada
inline constexpr int32_t kUtf8Alias = 1208;    // a second id naming UTF-8

struct EncodingInfo {
    int32_t id;
    const char* name;      // display name, matched case-insensitively by find_encoding(name)
    const char* icu_name;  // name handed to ucnv_open
};

const std::vector<EncodingInfo>& encodings();
const EncodingInfo* find_encoding(int32_t id);
const EncodingInfo* find_encoding(std::string_view name);
// True when both ids are known and ICU resolves them to the same converter.
bool same_encoding(int32_t a, int32_t b);

// Converts bytes between two host encoding ids with ICU, substituting invalid input the way the host does.
// Throws std::invalid_argument for an unknown id.
std::string convert(std::string_view text, int32_t from_id, int32_t to_id);

// ---- Pools -----------------------------------------------------------------------------------------------

inline constexpr size_t kGuardBytes = 16;
inline constexpr unsigned char kFillByte = 0xA5;   // every new block is filled with it
inline constexpr unsigned char kGuardByte = 0xFD;  // the guard behind each block

struct Allocation {
    uint64_t size;
    uint32_t flags;
    void* block;               // identity only once freed
    bool freed;                // by free() or by the pool's destroy
    uint64_t serial;           // 1-based across the Host
    bool released_by_destroy;  // freed because the pool was destroyed while the block was live
};

class Host;

// One pool. Its record comes first, so a HostPool* handed out by create_pool is also the Pool's address.
class Pool {
  public:
    ~Pool();
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    HostPool* record() { return &record_.host; }
    static Pool* from_record(HostPool* record);  // null for a record no Pool made

    bool destroyed() const { return destroyed_; }
    size_t live() const { return live_.size(); }
    uint64_t live_bytes() const { return live_bytes_; }
    size_t allocation_count() const { return allocations_.size(); }
    size_t free_count() const { return free_count_; }
    const std::vector<Allocation>& allocations() const { return allocations_; }
    std::vector<Allocation> live_allocations() const;
    bool owns_live(const void* block) const { return live_.count(block) != 0; }
    uint64_t block_size(const void* block) const;   // UINT64_MAX when not a live block of this pool
    uint32_t block_flags(const void* block) const;  // 0 when not a live block of this pool
    // Bad frees, use after destroy and every overwritten guard found at free, destroy or check_guards.
    const std::vector<std::string>& errors() const { return errors_; }
    bool check_guards();  // checks every live block now; true when all guards are intact

    const void* attributes_seen() const { return attributes_; }  // 24 bytes, zeros when none were given
    bool attributes_were_null() const { return attributes_null_; }
    void* handed_on() const { return handed_on_; }
    const std::string& name() const { return name_; }

  private:
    friend class Host;
    struct Record {
        HostPool host;  // first: the address handed out
        Pool* owner;
    };

    Pool(Host* host, const void* attributes, void* handed_on, const char* name);
    void* allocate(uint64_t size, uint32_t flags);
    void release(void* block);
    void destroy();
    bool guard_intact(const Allocation& a) const;
    void forget(size_t index);  // drops a freed block's record when there is no history to keep
    void error(std::string message);

    static void destroy_op(HostPool* self);
    static void* allocate_op(HostPool* self, uint64_t size, uint32_t flags);
    static void free_op(HostPool* self, void* block);

    Record record_;
    Host* host_;
    std::string name_;
    void* handed_on_;
    unsigned char attributes_[24] = {};
    bool attributes_null_ = false;
    bool destroyed_ = false;
    std::vector<Allocation> allocations_;
    std::unordered_map<const void*, size_t> live_;  // block -> index into allocations_
    uint64_t live_bytes_ = 0;
    size_t free_count_ = 0;
    std::vector<std::string> errors_;
};

// ---- Transcoders -----------------------------------------------------------------------------------------

// One transcoder made by create_transcoder. Kept by the Host after destroy so tests can check the order.
class Transcoder {
  public:
    ~Transcoder();
    Transcoder(const Transcoder&) = delete;
    Transcoder& operator=(const Transcoder&) = delete;

    HostTranscoder* record() { return &record_.host; }
    static Transcoder* from_record(HostTranscoder* record);  // null for a record no Transcoder made
    int32_t from() const { return from_; }
    int32_t to() const { return to_; }
    bool destroyed() const { return destroyed_; }
    uint64_t created_serial() const { return created_serial_; }
    uint64_t destroyed_serial() const { return destroyed_serial_; }  // 0 while live
    uint64_t transcode_calls() const { return calls_; }

  private:
    friend class Host;
    struct Record {
        HostTranscoder host;  // first: the address handed out
        Transcoder* owner;
    };

    Transcoder(Host* host, int32_t from, int32_t to, UConverter* source, UConverter* target, uint64_t serial);
    static void destroy_op(HostTranscoder* self);
    static int32_t transcode_op(HostTranscoder* self, const char* text, uint64_t length, char* buffer,
                                uint64_t capacity, uint64_t* written, uint32_t* run);

    Record record_;
    Host* host_;
    int32_t from_;
    int32_t to_;
    UConverter* source_;
    UConverter* target_;
    uint64_t created_serial_;
    uint64_t destroyed_serial_ = 0;
    uint64_t calls_ = 0;
    bool destroyed_ = false;
    std::string converted_;  // reused between calls so transcoding does not allocate once warm
};

// ---- Host ------------------------------------------------------------------------------------------------

class Host {
  public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HostContext* context() { return &context_.host; }
    HostServices* services() { return &services_.host; }
    HostNls* nls() { return &nls_.host; }

    // Options. "VXNLS.OMX_SESSION_CEI" answers the session encoding (type 3: 4 bytes written into the low half
    // of the 8-byte slot, the upper half left as the caller had it). Unknown keys are not found (result 1).
    static constexpr const char* kSessionEncodingKey = "VXNLS.OMX_SESSION_CEI";
    void set_session_encoding(int32_t id);  // default kIso88591
    void set_option(std::string_view key, int32_t value);
    void remove_option(std::string_view key);
    void set_option_missing(bool missing);  // every key reports not found

    // Pools
    void fail_create_pool(bool fail);
    Pool* last_pool() { return pools_.empty() ? nullptr : pools_.back().get(); }
    const std::vector<std::unique_ptr<Pool>>& pools() const { return pools_; }
    size_t pools_created() const { return pools_.size(); }
    uint64_t allocations_attempted() const { return allocation_attempts_; }
    // Requests above this size fail like an exhausted host (default 256 MiB): keeps a wrapped size from
    // turning into a huge malloc.
    void set_max_allocation(uint64_t bytes) { max_allocation_ = bytes; }

    // Allocation faults, across all pools of this Host.
    void fail_allocation_at(uint64_t n);           // the n-th attempt from now (1-based) fails; 0 disables
    void fail_allocations_of_size(uint64_t size);  // every attempt of exactly this size fails; UINT64_MAX disables
    void fail_all_allocations(bool fail);
    // Turns off every fault and hostile answer: pool creation, allocation, transcoder creation, measure,
    // needs_conversion and transcode. Options keep their values.
    void clear_faults();

    // NLS. measure reports 0 and result 1 for an unknown id; create_transcoder gives null for one;
    // needs_conversion answers 1 unless both ids name the same encoding. A transcode whose output does not
    // fit writes the whole characters that do and returns 2; misuse (destroyed transcoder, null pointers with
    // a length) returns 3 and is recorded in errors().
    // NLS faults and hostile answers.
    void fail_create_transcoder(int nth);  // the nth create_transcoder call from now (1-based) gives null; 0 disables
    // The nth transcode call from now returns status 1 after writing min(bytes_written, capacity, converted
    // length) bytes and reporting that many in *written. 0 disables.
    void fail_transcode(uint64_t nth_call, uint64_t bytes_written);
    void transcode_overreport(uint64_t extra);  // *written reports extra bytes beyond those written
    void measure_underreport(uint64_t less);    // measure reports max(0, true count - less)
    void measure_leaves_count_unset(bool unset);
    void needs_conversion_noise(uint32_t high_bits);  // ORed into the result above its low byte
    uint64_t measure_calls() const { return measure_calls_; }
    uint64_t transcode_calls() const { return transcode_calls_; }

    // Event log of every host operation, in call order.
    //   create_pool         ints {}                                  text name   object pool record (null on failure)
    //   get_option          ints {key_length, type, *size, result}   text key    object value slot
    //   measure             ints {from, to, length, reported count (-1 when unset), result}   text input bytes
    //   needs_conversion    ints {from, to, reserved, result}
    //   create_transcoder   ints {from, to, reserved_a, reserved_b}           object transcoder record (null on
    //   failure) transcoder.destroy  ints {from, to}                                   object transcoder record
    //   transcode           ints {length, capacity, reported written, status, *run, from, to}
    //                       text input bytes                                  object transcoder record
    //   pool.allocate       ints {size, flags}                                object block (null on failure)
    //   pool.free           ints {block size, or -1 for a bad free}           object block
    //   pool.destroy        ints {live blocks released}                       object pool record
    // `pool` names the Pool concerned for the pool operations and create_pool.
    struct Event {
        std::string op;
        std::vector<int64_t> ints;
        std::string text;
        const void* object = nullptr;
        const Pool* pool = nullptr;
    };
    const std::vector<Event>& events() const { return events_; }
    void clear_events() { events_.clear(); }
    void set_logging(bool on) { logging_ = on; }
    bool logging() const { return logging_; }

    // Allocation history. On (the default), every pool keeps the record of each block it ever gave out, so
    // tests can look at sizes, flags and frees afterwards. Off, a block's record goes with its free: a pool's
    // allocations() then holds its live blocks only, in no particular order, allocation_count() counts them,
    // and a long run needs no more memory than its live blocks. A double free then reads as a free of a
    // pointer the pool never gave out.
    void set_allocation_history(bool keep) { allocation_history_ = keep; }
    bool allocation_history() const { return allocation_history_; }

    // Transcoders, in creation order, destroyed ones included.
    const std::vector<std::unique_ptr<Transcoder>>& transcoders() const { return transcoders_; }
    size_t transcoders_created() const { return transcoders_.size(); }
    size_t transcoders_live() const;

    // Misuse seen outside any pool: transcoder used or destroyed after destroy, null pointers with a length,
    // get_option without a slot.
    const std::vector<std::string>& errors() const { return errors_; }

  private:
    friend class Pool;
    friend class Transcoder;
    template <class R>
    struct Record {
        R host;  // first: the address handed out
        Host* owner;
    };

    static HostPool* create_pool_op(HostContext* self, const void* attributes, void* handed_on, const char* name);
    static int32_t get_option_op(HostServices* self, const uint16_t* key, uint64_t key_length, int32_t type,
                                 void* value, uint64_t* size);
    static int32_t measure_op(HostNls* self, int64_t from, const char* text, uint64_t length, int64_t to,
                              uint64_t* count);
    static uint32_t needs_conversion_op(HostNls* self, int64_t from, int64_t to, int64_t reserved);
    static HostTranscoder* create_transcoder_op(HostNls* self, int64_t from, int64_t to, int64_t reserved_a,
                                                int64_t reserved_b);

    HostPool* create_pool(const void* attributes, void* handed_on, const char* name);
    int32_t get_option(const uint16_t* key, uint64_t key_length, int32_t type, void* value, uint64_t* size);
    int32_t measure(int64_t from, const char* text, uint64_t length, int64_t to, uint64_t* count);
    uint32_t needs_conversion(int64_t from, int64_t to, int64_t reserved);
    HostTranscoder* create_transcoder(int64_t from, int64_t to, int64_t reserved_a, int64_t reserved_b);
    int32_t transcode(Transcoder& t, const char* text, uint64_t length, char* buffer, uint64_t capacity,
                      uint64_t* written, uint32_t* run);
    void destroy_transcoder(Transcoder& t);

    bool allocation_should_fail(uint64_t size);  // counts the attempt
    uint64_t next_serial() { return ++serial_; }
    UConverter* cached_converter(std::map<int32_t, UConverter*>& cache, int32_t id);
    void log(Event event) {
        if (logging_) events_.push_back(std::move(event));
    }
    void error(std::string message) { errors_.push_back(std::move(message)); }

    Record<HostContext> context_{};
    Record<HostServices> services_{};
    Record<HostNls> nls_{};

    std::map<std::string, int32_t, std::less<>> options_;
    bool option_missing_ = false;

    std::vector<std::unique_ptr<Pool>> pools_;
    std::vector<std::unique_ptr<Transcoder>> transcoders_;
    std::map<int32_t, UConverter*> measure_sources_;  // converters reused by measure, one per id and side
    std::map<int32_t, UConverter*> measure_targets_;
    uint64_t serial_ = 0;             // allocations
    uint64_t transcoder_serial_ = 0;  // transcoder creations and destructions
    uint64_t max_allocation_ = uint64_t{256} << 20;

    // Faults
    bool fail_create_pool_ = false;
    uint64_t allocation_attempts_ = 0;
    uint64_t fail_attempt_ = 0;  // absolute attempt number that fails; 0 none
    uint64_t fail_size_ = UINT64_MAX;
    bool fail_all_allocations_ = false;
    uint64_t create_transcoder_calls_ = 0;
    uint64_t fail_create_transcoder_at_ = 0;  // absolute call number; 0 none
    uint64_t transcode_calls_ = 0;
    uint64_t fail_transcode_at_ = 0;  // absolute call number; 0 none
    uint64_t fail_transcode_bytes_ = 0;
    uint64_t transcode_overreport_ = 0;
    uint64_t measure_calls_ = 0;
    uint64_t measure_underreport_ = 0;
    bool measure_leaves_count_unset_ = false;
    uint32_t needs_conversion_noise_ = 0;

    std::vector<Event> events_;
    bool logging_ = true;
    bool allocation_history_ = true;
    std::vector<std::string> errors_;
};

}  // namespace simhost
