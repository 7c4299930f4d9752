// vxhost: the demo host. Loads a deliverable with dlopen, hands it a stand-in host kernel and drives one
// instance through the embedded demo session or a script, printing a transcript of every call.
#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "demo.h"
#include "host_session.h"
#include "library_loader.h"
#include "options.h"
#include "script_parser.h"
#include "script_runner.h"
#include "session_failure.h"

namespace {

constexpr int kSessionFailed = 1;
constexpr int kUsage = 2;

int usage_error(const std::string& message) {
    std::fprintf(stderr, "vxhost: %s\n(vxhost --help describes the options and the script syntax)\n", message.c_str());
    return kUsage;
}

std::vector<vxhost::Statement> read_script(const std::string& source) {
    if (source == "-") return vxhost::parse_script(std::cin, "<stdin>");
    std::ifstream file(source);
    if (!file) throw vxhost::ScriptError("cannot read the script " + source);
    return vxhost::parse_script(file, source);
}

std::string build_code(const vxhost::LoadedLibrary& library) {
    if (library.vxbldmk1 == nullptr) return "no stamp";
    VersionStamp stamp{};
    library.vxbldmk1(&stamp);
    return stamp.build_code != nullptr ? std::string("build code ") + stamp.build_code : "no build code";
}

void print_header(vxhost::Transcript& out, const vxhost::Options& options, const vxhost::LoadedLibrary& library,
                  const vxhost::SessionEncoding& encoding) {
    out.line(options.script ? "vxhost: script " + *options.script : std::string("vxhost: demo session"));
    out.line("  deliverable       " + library.path + " (entry export " + library.export_name + ", " +
             build_code(library) + ")");
    out.line(std::string("  session encoding  ") + encoding.name() + " (host id " + std::to_string(encoding.id()) +
             ")");
    if (!options.script) out.line("  server            " + options.server + ", port " + std::to_string(options.port));
}

}  // namespace

int main(int argc, char** argv) {
    // Keeps the transcript and the messages on standard error in order when both go to one place.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    vxhost::Options options;
    try {
        options = vxhost::parse_options(argc, argv);
    } catch (const std::invalid_argument& error) {
        return usage_error(error.what());
    }
    if (options.help) {
        std::fputs(vxhost::help_text().c_str(), stdout);
        return 0;
    }
    const simhost::EncodingInfo* encoding_info = simhost::find_encoding(options.encoding);
    if (encoding_info == nullptr) {
        std::string known;
        for (const simhost::EncodingInfo& info : simhost::encodings())
            known += (known.empty() ? "" : ", ") + std::string(info.name);
        return usage_error("unknown session encoding '" + options.encoding + "' (known: " + known + ")");
    }

    std::vector<vxhost::Statement> script;
    try {
        if (options.script) script = read_script(*options.script);
    } catch (const vxhost::ScriptError& error) {
        return usage_error(error.what());
    }

    vxhost::LoadedLibrary library;
    std::string load_error;
    const std::string path = options.library.empty() ? vxhost::default_library_path() : options.library;
    if (!vxhost::load_library(path, library, load_error)) {
        std::fprintf(stderr, "vxhost: %s\n", load_error.c_str());
        return kUsage;
    }

    vxhost::Transcript out(stdout);
    const vxhost::SessionEncoding encoding(*encoding_info);
    print_header(out, options, library, encoding);
    try {
        vxhost::HostSession session(library, encoding, out);
        try {
            if (options.script) {
                vxhost::run_script(script, *options.script == "-" ? "<stdin>" : *options.script, session);
            } else {
                vxhost::run_demo(session, {options.server, options.port});
            }
        } catch (const vxhost::SessionFailure& failure) {
            std::fprintf(stderr, "vxhost: the session failed at %s: %s\n", failure.step().c_str(), failure.what());
            return kSessionFailed;
        }
    } catch (const vxhost::ScriptError& error) {
        return usage_error(error.what());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vxhost: %s\n", error.what());
        return kSessionFailed;
    }
    return 0;
}
