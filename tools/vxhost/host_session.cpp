// Module and instance: handing over the services, making the instance, the entries that bridge no client
// call, and destroying the instance.
#include "host_session.h"

#include <cstring>

#include "entry_types.h"

namespace vxhost {

HostSession::HostSession(const LoadedLibrary& library, const SessionEncoding& encoding, Transcript& transcript)
    : library_(library), encoding_(encoding), out_(transcript) {
    // vxhost only drives the instance; the host's per-call event log would just grow.
    host_.set_logging(false);
    host_.set_session_encoding(encoding.id());
}

HostSession::~HostSession() {
    if (rec_ != nullptr) destroy();
}

bool HostSession::open() {
    int64_t major = 0;
    int64_t minor = 0;
    const int32_t handed_over = library_.vxextver(host_.services(), &major, &minor);
    out_.line("vxextver(services, &major, &minor) -> " + std::to_string(handed_over) + "  interface " +
              std::to_string(major) + "." + std::to_string(minor));
    rec_ = library_.make_instance(host_.context(), nullptr);
    if (rec_ == nullptr) {
        out_.line(library_.export_name + "(context, null) -> null: no instance");
        return false;
    }
    std::string eyecatcher(rec_->eyecatcher, sizeof rec_->eyecatcher);
    out_.line(library_.export_name + "(context, null) -> instance record, eyecatcher " + quote(eyecatcher));
    return true;
}

int32_t HostSession::get_version(int number) {
    int64_t major = 0;
    int64_t minor = 0;
    int64_t revision = 0;
    // Entries 3 and 4 hold the same operation.
    const int32_t status =
        number == 4 ? entry<4>(rec_)(rec_, &major, &minor, &revision) : entry<3>(rec_)(rec_, &major, &minor, &revision);
    out_.call(number, Entry<3>::name, {"&major", "&minor", "&revision"},
              std::to_string(status) + "  " + std::to_string(major) + "." + std::to_string(minor) + "." +
                  std::to_string(revision));
    return status;
}

int32_t HostSession::destroy() {
    const int32_t status = entry<6>(rec_)(rec_);
    rec_ = nullptr;
    out_.call(6, Entry<6>::name, {}, std::to_string(status));
    report_pool();
    return status;
}

int32_t HostSession::const_minus_one() {
    const int32_t value = entry<56>(rec_)();
    out_.call(56, Entry<56>::name, {}, std::to_string(value));
    return value;
}

int32_t HostSession::const_one() {
    const int32_t value = entry<59>(rec_)();
    out_.call(59, Entry<59>::name, {}, std::to_string(value));
    return value;
}

std::string HostSession::handle_name(Handle handle) const {
    if (handle == nullptr) return "null";
    auto found = handle_names_.find(handle);
    return found == handle_names_.end() ? "handle" : found->second;
}

void HostSession::name_handle(Handle handle, const char* kind) {
    if (handle == nullptr) return;
    // The client may hand out an address again once a handle is destroyed: the newest name wins.
    handle_names_[handle] = std::string(kind) + "#" + std::to_string(++handles_made_[kind]);
}

std::string HostSession::shown(const Text& text) const {
    if (!text) return "null";
    return quote(encoding_.to_utf8(encoding_.to_session(*text)));
}

std::string HostSession::shown(const Pairs& pairs) const {
    if (!pairs) return "null";
    std::string out = "{";
    for (size_t i = 0; i < pairs->size(); ++i) {
        out += (i == 0 ? "" : ", ") + shown((*pairs)[i].first) + "=" + shown((*pairs)[i].second);
    }
    return out + "}";
}

// Everything an instance allocates comes from its own pool, and destroying the instance releases the pool
// with all of it; the stand-in pool checks the guard bytes behind every block as it goes.
void HostSession::report_pool() {
    const simhost::Pool* pool = host_.last_pool();
    if (pool == nullptr) return;
    pool_clean_ = pool->destroyed() && pool->errors().empty() && host_.errors().empty();
    std::string report = "pool " + quote(pool->name()) + ": " + std::to_string(pool->allocation_count()) +
                         " blocks allocated, " + (pool->destroyed() ? "pool destroyed" : "pool still alive") + ", " +
                         std::to_string(pool->errors().size()) + " pool errors";
    out_.detail(report);
    for (const std::string& error : pool->errors()) out_.detail("pool error: " + error);
    for (const std::string& error : host_.errors()) out_.detail("host error: " + error);
}

}  // namespace vxhost
