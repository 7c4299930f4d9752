// The baseline's share of a call: the host work that any caller of the client library must have done for
// its texts, asked of the host directly. Each text is measured and then transcoded (or, in a session that
// needs no conversion, copied) straight into a buffer that has room for it; lists and pair copies take
// their buffers from the host's pool because the interface hands out one allocation per text.
//
// Everything here is inline and free of checks the host does not need, so that the baseline is as lean
// as a caller of the client library can be and every instruction the bridge adds shows as overhead.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench_session.h"

namespace vxbench {

enum class Direction { inbound, outbound };

class HostWork {
  public:
    explicit HostWork(Session& session)
        : nls_(session.nls()),
          pool_(session.baseline_pool()),
          in_{session.encoding(), UTF8_ENCODING_ID, session.to_utf8()},
          out_{UTF8_ENCODING_ID, session.encoding(), session.from_utf8()} {}

    // A buffer with room for `text` converted and its terminator; made once, before measuring.
    std::vector<char> buffer_for(Direction d, const char* text) {
        return std::vector<char>(measure(route(d), text, std::strlen(text)) + 1);
    }

    // Converts `text` into `buffer` and returns it.
    const char* convert_into(Direction d, const char* text, std::vector<char>& buffer) {
        const Route& r = route(d);
        const uint64_t length = std::strlen(text);
        const uint64_t needed = measure(r, text, length);
        const uint64_t capacity = buffer.size() - 1;
        if (needed > capacity) too_small();
        write(r, text, length, buffer.data(), capacity);
        return buffer.data();
    }

    // Converts `text` into a buffer of the pool sized for it, as every text of a list or pair copy is.
    char* convert_to_new(Direction d, const char* text) {
        const Route& r = route(d);
        const uint64_t length = std::strlen(text);
        const uint64_t needed = measure(r, text, length);
        auto* buffer = static_cast<char*>(allocate(needed + 1, 0));
        write(r, text, length, buffer, needed);
        return buffer;
    }

    void* allocate(uint64_t size, uint32_t flags) { return pool_->allocate(pool_, size, flags); }
    void release(const void* block) { pool_->free(pool_, const_cast<void*>(block)); }

  private:
    struct Route {
        int64_t from;
        int64_t to;
        HostTranscoder* transcoder;
    };

    const Route& route(Direction d) const { return d == Direction::inbound ? in_ : out_; }

    uint64_t measure(const Route& r, const char* text, uint64_t length) {
        uint64_t needed = 0;
        nls_->measure(nls_, r.from, text, length, r.to, &needed);
        return needed;
    }

    static void write(const Route& r, const char* text, uint64_t length, char* buffer, uint64_t capacity) {
        uint64_t written = length;
        if (r.transcoder != nullptr) {
            uint32_t run = 1;
            r.transcoder->transcode(r.transcoder, text, length, buffer, capacity, &written, &run);
        } else {
            std::memcpy(buffer, text, length);
        }
        buffer[written] = '\0';
    }

    [[noreturn]] static void too_small() {
        std::fprintf(stderr, "baseline buffer too small for its text\n");
        std::abort();
    }

    HostNls* nls_;
    HostPool* pool_;
    Route in_;
    Route out_;
};

}  // namespace vxbench
