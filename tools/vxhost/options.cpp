#include "options.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "script_commands.h"
#include "sim/host/sim_host.h"

namespace vxhost {
namespace {

constexpr const char* kHelpHead =
    "usage: vxhost [--library PATH] [--encoding NAME] [--server URL] [--port N] [--script FILE|-]\n"
    "\n"
    "Loads a vxjobs deliverable as a host runtime does, makes an instance on a stand-in host kernel and\n"
    "drives it against the stand-in job server. Without --script it runs the embedded demo session, which\n"
    "calls every family of entries; with --script it runs the entry calls of FILE. Either way it prints\n"
    "each call and what came back.\n"
    "\n"
    "  --library PATH   the deliverable to load (default: vxjobc.so in ../lib beside vxhost; the SSL\n"
    "                   build is vxjobcssl.so)\n"
    "  --encoding NAME  the host's session encoding (default ISO-8859-1). Texts are converted into it\n"
    "                   before every call and out of it for printing; the terminal is UTF-8.\n"
    "  --server URL     the server of both connections (default http://jobs.example); an https://\n"
    "                   server needs the SSL build\n"
    "  --port N         its port (default 8080)\n"
    "  --script FILE    run the script in FILE, or on standard input for -\n"
    "  --help           this text\n"
    "\n"
    "Script: one entry call per line, checked as a whole before the first call runs.\n"
    "\n"
    "  [try] ENTRY ARGUMENT... [-> $NAME]      # a comment\n"
    "\n"
    "  ENTRY     an entry's name (below) or its number\n"
    "  ARGUMENT  \"text\" (escapes \\\" \\\\ \\n \\t), an integer, null, a $variable, or a pair array\n"
    "            {\"name\"=\"value\", \"other\"=null} ({} or null for none); a number stands for its decimal\n"
    "            text where a text is wanted\n"
    "  -> $NAME  keeps what the call gives (see below) for later lines\n"
    "  try       a status other than 0 does not end the script\n"
    "\n"
    "Out-parameters are not written: vxhost provides them and prints what comes back. Texts are converted\n"
    "to the session encoding before the call. Example:\n"
    "\n"
    "  acj_initialize \"http://jobs.example\" 8080\n"
    "  acj_set_credentials \"me\" \"secret\"\n"
    "  acj_run_prof_job \"nightly\" null null 5 null \"me\" {\"Straße\"=\"München\", \"n\"=\"v\"} -> $job\n"
    "  acj_get_job_status $job\n"
    "  acj_get_workflow_job_params \"greeting\" 0 -> $params\n"
    "  acj_get_input_names $params\n"
    "  try acj_terminate_job \"4711\"\n"
    "  acj_get_error\n"
    "\n"
    "Entries:\n";

constexpr const char* kHelpTail =
    "\n"
    "Exit status: 0 the session ran; 1 a step failed (named on standard error); 2 wrong usage, a bad\n"
    "script line or a deliverable that cannot be loaded.\n";

std::string_view value_of(int argc, char** argv, int& i) {
    if (i + 1 >= argc) throw std::invalid_argument(std::string(argv[i]) + " needs a value");
    return argv[++i];
}

}  // namespace

Options parse_options(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--library") {
            options.library = value_of(argc, argv, i);
        } else if (arg == "--encoding") {
            options.encoding = value_of(argc, argv, i);
        } else if (arg == "--server") {
            options.server = value_of(argc, argv, i);
        } else if (arg == "--port") {
            const std::string_view text = value_of(argc, argv, i);
            const char* end = text.data() + text.size();
            if (std::from_chars(text.data(), end, options.port).ptr != end || text.empty()) {
                throw std::invalid_argument("--port needs a number, not '" + std::string(text) + "'");
            }
        } else if (arg == "--script") {
            options.script = std::string(value_of(argc, argv, i));
        } else {
            throw std::invalid_argument("unknown option '" + std::string(arg) + "'");
        }
    }
    return options;
}

std::string help_text() {
    std::string text = kHelpHead;
    std::vector<const Command*> by_number;
    for (const Command& command : commands()) by_number.push_back(&command);
    std::sort(by_number.begin(), by_number.end(),
              [](const Command* a, const Command* b) { return a->number < b->number; });
    for (const Command* entry : by_number) {
        const Command& command = *entry;
        std::string line = "  " + std::to_string(command.number);
        line.resize(6, ' ');
        line += usage(command);
        if (command.keeps != nullptr) line += std::string("  -> ") + command.keeps;
        text += line + "\n";
    }
    text += "\nEncodings:";
    for (const simhost::EncodingInfo& info : simhost::encodings()) text += std::string(" ") + info.name;
    text += "\n";
    return text + kHelpTail;
}

}  // namespace vxhost
