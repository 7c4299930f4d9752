// vxjobs_icount CASE SESSION SIDE N [DELIVERABLE]: sets one case up, warms it, then calls one side N times. Run under
// callgrind with two values of N; the difference of the instruction totals, divided by the difference of
// N, is the cost per call with the set-up cancelled out (bench/instructions.sh).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "cases.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: vxjobs_icount CASE utf-8|iso-8859-1 entry|baseline N [vxjobc|vxjobcssl]\n");
    std::fprintf(stderr, "       vxjobs_icount --list\n");
    std::fprintf(stderr, "cases:");
    for (const vxbench::Case& c : vxbench::cases()) std::fprintf(stderr, " %s", c.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        // One line per case: its name, entry number and long-text bytes (0 for short texts).
        for (const vxbench::Case& c : vxbench::cases()) {
            std::printf("%s %d %llu\n", c.name, c.entry_number, static_cast<unsigned long long>(c.text_bytes));
        }
        return 0;
    }
    if (argc < 5 || argc > 6) return usage();
    const vxbench::Case* c = vxbench::find_case(argv[1]);
    vxbench::SessionKind kind{};
    const bool through_entry = std::strcmp(argv[3], "entry") == 0;
    char* end = nullptr;
    const long calls = std::strtol(argv[4], &end, 10);
    if (c == nullptr || !vxbench::parse_session(argv[2], &kind) ||
        (!through_entry && std::strcmp(argv[3], "baseline") != 0) || *end != '\0' || calls < 0) {
        return usage();
    }
    const vxtest::Deliverable& deliverable =
        argc == 6 && std::strcmp(argv[5], vxtest::kSsl.name) == 0 ? vxtest::kSsl : vxtest::kPlain;
    if (argc == 6 && std::strcmp(argv[5], deliverable.name) != 0) return usage();

    vxbench::Session session(kind, deliverable);
    std::unique_ptr<vxbench::CaseRun> run = c->make(session);
    vxbench::warm_up(*run);
    if (through_entry) {
        for (long i = 0; i < calls; ++i) run->entry();
    } else {
        for (long i = 0; i < calls; ++i) run->baseline();
    }
    return 0;
}
