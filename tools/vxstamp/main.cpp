// vxstamp: shows the build stamp of a vxjobs library and writes a hotfix number or an image
// description into the marker texts of a built library, in place.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "file_replace.h"
#include "marker_text.h"
#include "stamp_report.h"

namespace {

constexpr int kRefused = 1;
constexpr int kUsage = 2;

constexpr char kHelp[] =
    "usage: vxstamp show LIBRARY\n"
    "       vxstamp set LIBRARY [--hotfix VALUE] [--image-description TEXT]\n"
    "\n"
    "show  loads LIBRARY, calls its vxbldmk1 and prints the 26 fields of the stamp, one a line:\n"
    "      number, name, value. Texts are quoted (other than printable ASCII as \\xNN), build_time is\n"
    "      the integer it holds, null fields read null.\n"
    "\n"
    "set   writes values into the marker texts of the built file, in place: a hotfix number of at\n"
    "      most 39 characters after ORB_VERSION_HOTFIX_NUMBER=, an image description of at most 40\n"
    "      after BLDMRK_IMAGE_DESCRIPTION=. Values are printable text (0x20-0x7E, 0xA0-0xFF); blanks\n"
    "      fill the rest of the room, so a later set replaces an earlier value and an empty value\n"
    "      clears it. Nothing else in the file changes; the file is replaced atomically and keeps\n"
    "      its mode. Nothing is written when a marker is missing or occurs more than once, a value\n"
    "      does not fit or is not printable, or the file or its directory is not writable.\n"
    "\n"
    "Exit status: 0 done, 1 refused or failed, 2 wrong usage.\n";

int usage(const char* problem) {
    std::fprintf(stderr, "vxstamp: %s\n\n%s", problem, kHelp);
    return kUsage;
}

int refuse(const std::string& problem) {
    std::fprintf(stderr, "vxstamp: %s; nothing written\n", problem.c_str());
    return kRefused;
}

struct Assignment {
    const vxstamp::Marker* marker;
    std::string value;
};

int show(const std::string& library) {
    std::string error;
    if (!vxstamp::print_stamp(library, stdout, error)) {
        std::fprintf(stderr, "vxstamp: %s\n", error.c_str());
        return kRefused;
    }
    return 0;
}

int set(const std::string& library, const std::vector<Assignment>& assignments) {
    // Work on the file a symbolic link names, so that the link stays a link.
    char resolved[PATH_MAX];
    if (realpath(library.c_str(), resolved) == nullptr) return refuse("cannot find " + library);
    const std::string path = resolved;

    std::vector<unsigned char> bytes;
    std::string error;
    if (!vxstamp::read_file(path, bytes, error)) return refuse(error);
    for (const Assignment& a : assignments) {
        const std::string problem = vxstamp::value_problem(*a.marker, a.value);
        if (!problem.empty()) return refuse(problem);
        const std::vector<size_t> found = vxstamp::find_marker_texts(bytes, *a.marker);
        if (found.empty()) return refuse(library + " has no " + a.marker->name + " marker text");
        if (found.size() > 1) {
            return refuse(library + " has " + std::to_string(found.size()) + " " + a.marker->name +
                          " marker texts; cannot tell which to write");
        }
        vxstamp::write_marker_text(bytes, found.front(), *a.marker, a.value);
    }
    const std::string problem = vxstamp::replace_problem(path);
    if (!problem.empty()) return refuse(problem);
    if (!vxstamp::replace_file(path, bytes, error)) return refuse(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage("no command");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (args[0] == "show") {
        if (args.size() != 2) return usage("show takes one library");
        return show(args[1]);
    }
    if (args[0] == "set") {
        if (args.size() < 2) return usage("set needs a library");
        std::vector<Assignment> assignments;
        for (size_t i = 2; i < args.size(); i += 2) {
            const vxstamp::Marker* marker = nullptr;
            for (const vxstamp::Marker* m : {&vxstamp::kHotfixMarker, &vxstamp::kImageDescriptionMarker}) {
                if (args[i] == m->option) marker = m;
            }
            if (marker == nullptr) return usage(("unknown option " + args[i]).c_str());
            if (i + 1 >= args.size()) return usage((args[i] + " needs a value").c_str());
            for (const Assignment& a : assignments) {
                if (a.marker == marker) return usage((args[i] + " given twice").c_str());
            }
            assignments.push_back({marker, args[i + 1]});
        }
        if (assignments.empty()) return usage("set needs --hotfix or --image-description");
        return set(args[1], assignments);
    }
    return usage(("unknown command " + args[0]).c_str());
}
