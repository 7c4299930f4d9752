// The entry export called before any service record was handed over. Runs in a process of its own:
// the service record is module-wide, and every other suite hands one over first.
#include <gtest/gtest.h>

#include "sim/host/sim_host.h"
#include "support/deliverable.h"

namespace vxtest {
namespace {

TEST(NoServiceRecord, EntryExportReturnsNullAndTouchesNothing) {
    for (const Deliverable& d : kBothDeliverables) {
        SCOPED_TRACE(d.name);
        simhost::Host host;
        const Loaded& lib = load(d);
        EXPECT_EQ(lib.make_instance(host.context(), nullptr), nullptr);
        EXPECT_TRUE(host.events().empty());
        EXPECT_EQ(host.pools_created(), 0u);
    }
}

}  // namespace
}  // namespace vxtest
