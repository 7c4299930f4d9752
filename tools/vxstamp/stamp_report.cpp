#include "stamp_report.h"

#include <dlfcn.h>

#include <cinttypes>
#include <cstring>

#include "frame/stamp.h"

namespace vxstamp {
namespace {

enum class Kind { kText, kInteger, kNull };

struct FieldInfo {
    const char* name;
    Kind kind;
};

// Field n of the stamp is the n-th pointer-sized word.
constexpr FieldInfo kFields[26] = {
    {"release", Kind::kText},
    {"build_trees", Kind::kText},
    {"empty_2", Kind::kText},
    {"build_time", Kind::kInteger},
    {"component", Kind::kText},
    {"build_code", Kind::kText},
    {"family", Kind::kText},
    {"revision_id", Kind::kText},
    {"empty_8", Kind::kText},
    {"version_label", Kind::kText},
    {"version_separator", Kind::kText},
    {"empty_11", Kind::kText},
    {"hotfix_marker", Kind::kText},
    {"empty_13", Kind::kText},
    {"image_description_marker", Kind::kText},
    {"platform", Kind::kText},
    {"build_date", Kind::kText},
    {"unused_17", Kind::kNull},
    {"unused_18", Kind::kNull},
    {"unused_19", Kind::kNull},
    {"unused_20", Kind::kNull},
    {"unused_21", Kind::kNull},
    {"unused_22", Kind::kNull},
    {"unused_23", Kind::kNull},
    {"unused_24", Kind::kNull},
    {"unused_25", Kind::kNull},
};
static_assert(sizeof kFields / sizeof kFields[0] * sizeof(uintptr_t) == sizeof(VersionStamp));

// A text in double quotes, so that blanks and empty texts show; other than printable ASCII as \xNN.
void print_text(std::FILE* out, const char* text) {
    std::fputc('"', out);
    for (const char* c = text; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte == '"' || byte == '\\') {
            std::fprintf(out, "\\%c", byte);
        } else if (byte >= 0x20 && byte <= 0x7E) {
            std::fputc(byte, out);
        } else {
            std::fprintf(out, "\\x%02X", byte);
        }
    }
    std::fputc('"', out);
}

}  // namespace

bool print_stamp(const std::string& library, std::FILE* out, std::string& error) {
    // A name without a slash would send dlopen to the library search path instead of this file.
    const std::string path = library.find('/') == std::string::npos ? "./" + library : library;
    void* handle = dlopen(path.c_str(), RTLD_LOCAL | RTLD_NOW);
    if (handle == nullptr) {
        error = std::string("cannot load ") + library + ": " + dlerror();
        return false;
    }
    void* symbol = dlsym(handle, "vxbldmk1");
    if (symbol == nullptr) {
        error = library + " has no vxbldmk1 export";
        dlclose(handle);
        return false;
    }
    VersionStamp stamp{};
    const auto read_stamp = reinterpret_cast<int32_t (*)(VersionStamp*)>(symbol);
    const int32_t status = read_stamp(&stamp);
    uintptr_t words[26];
    std::memcpy(words, &stamp, sizeof words);

    for (int n = 0; n < 26; ++n) {
        std::fprintf(out, "%2d %-24s ", n, kFields[n].name);
        if (kFields[n].kind == Kind::kInteger) {
            std::fprintf(out, "%" PRIdPTR, static_cast<intptr_t>(words[n]));
        } else if (words[n] == 0) {
            std::fputs("null", out);
        } else if (kFields[n].kind == Kind::kText) {
            print_text(out, reinterpret_cast<const char*>(words[n]));
        } else {
            // Expected to be null; not followed, since nothing says what it points to.
            std::fprintf(out, "0x%" PRIxPTR, words[n]);
        }
        std::fputc('\n', out);
    }
    dlclose(handle);
    if (status != 0) {
        error = "vxbldmk1 returned " + std::to_string(status);
        return false;
    }
    return true;
}

}  // namespace vxstamp
