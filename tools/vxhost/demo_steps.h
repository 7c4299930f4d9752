// The parts of the embedded demo and what they share. Each part prints its own section.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "demo.h"
#include "demo_texts.h"
#include "host_session.h"
#include "session_failure.h"

namespace vxhost {

struct DemoContext {
    HostSession& session;
    const DemoSettings& settings;
    const DemoTexts& texts;
    std::string log_directory;  // where job logs are written; removed when the demo ends
};

// Checks of a step's outcome; each throws SessionFailure naming `step` when the outcome is wrong.
void expect_value(int64_t got, int64_t wanted, std::string_view step);
// A non-zero status on the batch connection: asks entry 27 for the client's reason, then fails.
void expect_batch_ok(HostSession& session, int32_t status, std::string_view step);
// A non-zero status on the real-time connection: asks entry 49 for the client's reason, then fails.
void expect_realtime_ok(HostSession& session, int32_t status, std::string_view step);
// A step that must be refused by the client (a deliberate error case).
void expect_refused(int32_t status, std::string_view step);

void demo_batch_connection(DemoContext& demo);
void demo_batch_jobs(DemoContext& demo);
void demo_service_descriptions(DemoContext& demo);
void demo_realtime_rows(DemoContext& demo);
void demo_realtime_pairs(DemoContext& demo);
void demo_workflow(DemoContext& demo);

}  // namespace vxhost
