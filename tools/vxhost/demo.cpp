// The demo's driver: the instance's life from vxextver to destroy, with the parts in between.
#include "demo.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "demo_steps.h"
#include "session_failure.h"

namespace vxhost {
namespace {

// A private directory for the job logs the client writes; removed however the demo ends.
class LogDirectory {
  public:
    LogDirectory() {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "vxhost-XXXXXX").string();
        if (error) pattern = "/tmp/vxhost-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) throw SessionFailure("make a directory for job logs", pattern);
        path_ = pattern;
    }
    ~LogDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    LogDirectory(const LogDirectory&) = delete;
    LogDirectory& operator=(const LogDirectory&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void module_and_instance(HostSession& session) {
    session.transcript().heading("Module and instance");
    if (!session.open()) throw SessionFailure("make an instance", "the entry export returned null");
    expect_value(session.get_version(3), 0, "[3] get_version");
    expect_value(session.get_version(4), 0, "[4] get_version");
    expect_value(session.const_minus_one(), -1, "[56] const_minus_one");
    expect_value(session.const_one(), 1, "[59] const_one");
}

void closing(HostSession& session) {
    session.transcript().heading("Ending the connections and the instance");
    expect_value(session.rta_terminate(), 0, "[54] rta_terminate");
    expect_value(session.acj_terminate(), 0, "[26] acj_terminate");
    expect_value(session.destroy(), 0, "[6] destroy");
    if (!session.pool_clean()) throw SessionFailure("[6] destroy", "the instance's pool reported errors");
}

}  // namespace

void run_demo(HostSession& session, const DemoSettings& settings) {
    LogDirectory logs;
    const DemoTexts& texts = demo_texts_for(session.encoding());
    session.transcript().line(std::string("  demo texts        ") + texts.label);
    DemoContext demo{session, settings, texts, logs.path()};
    module_and_instance(session);
    demo_batch_connection(demo);
    demo_batch_jobs(demo);
    demo_service_descriptions(demo);
    demo_realtime_rows(demo);
    demo_realtime_pairs(demo);
    demo_workflow(demo);
    closing(session);
}

void expect_value(int64_t got, int64_t wanted, std::string_view step) {
    if (got == wanted) return;
    throw SessionFailure(std::string(step),
                         "returned " + std::to_string(got) + " where the session needs " + std::to_string(wanted));
}

void expect_batch_ok(HostSession& session, int32_t status, std::string_view step) {
    if (status == 0) return;
    const Text reason = session.acj_get_error();
    throw SessionFailure(std::string(step),
                         "returned " + std::to_string(status) + ": " + reason.value_or("(the client gives no reason)"));
}

void expect_realtime_ok(HostSession& session, int32_t status, std::string_view step) {
    if (status == 0) return;
    const RealTimeError error = session.rta_get_error();
    throw SessionFailure(std::string(step), "returned " + std::to_string(status) + ": " +
                                                error.message.value_or("(the client gives no reason)"));
}

void expect_refused(int32_t status, std::string_view step) {
    if (status != 0) return;
    throw SessionFailure(std::string(step), "succeeded where the client should have refused it");
}

}  // namespace vxhost
