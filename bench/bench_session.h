// One benchmark session: a stand-in host with a deliverable instance on an open batch connection, and
// everything the baseline needs to do the same work without the bridge: the client library's functions
// looked up through the deliverable's own handle, transcoders and a pool of its own from the same host.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/instance.h"
#include "sim/host/sim_host.h"
#include "support/deliverable.h"

namespace vxbench {

enum class SessionKind { utf8, iso8859_1 };
inline constexpr SessionKind kSessionKinds[] = {SessionKind::utf8, SessionKind::iso8859_1};

// "utf-8" or "iso-8859-1", as benchmark names and the instruction table spell them.
const char* session_label(SessionKind kind);
// The kind a label names; false when it names none.
bool parse_session(std::string_view label, SessionKind* kind);

class Session {
  public:
    Session(SessionKind kind, const vxtest::Deliverable& deliverable);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    BridgeInstance* instance() const { return rec_; }
    AcjHandle batch_handle() const { return rec_->acj_handle; }

    // A client library function as the deliverable binds it: same library, same state.
    template <class Fn>
    Fn client(const char* name) const {
        return reinterpret_cast<Fn>(client_symbol(name));
    }
    // Queues an answer for the client library's next `answer.times` calls of one function.
    void script(const JwAnswer& answer) const { lib_->sim->script(&answer); }

    // `utf8` in the session encoding.
    std::string session_text(std::string_view utf8) const;

    // The host records the baseline works with directly.
    HostNls* nls() { return host_.nls(); }
    HostPool* baseline_pool() const { return baseline_pool_; }
    int32_t encoding() const { return encoding_; }
    HostTranscoder* to_utf8() const { return to_utf8_; }      // null in a session without conversion
    HostTranscoder* from_utf8() const { return from_utf8_; }  // null in a session without conversion

  private:
    void* client_symbol(const char* name) const;

    simhost::Host host_;
    const vxtest::Loaded* lib_;
    int32_t encoding_;
    BridgeInstance* rec_ = nullptr;
    HostPool* baseline_pool_ = nullptr;
    HostTranscoder* to_utf8_ = nullptr;
    HostTranscoder* from_utf8_ = nullptr;
};

}  // namespace vxbench
