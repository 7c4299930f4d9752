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
    {"release", Kind::kText},                   // 0
    {"build_trees", Kind::kText},               // 1
    {"empty_2", Kind::kText},                   // 2
    {"build_time", Kind::kInteger},             // 3
    {"component", Kind::kText},                 // 4
    {"build_code", Kind::kText},                // 5
    {"family", Kind::kText},                    // 6
    {"revision_id", Kind::kText},               // 7
    {"empty_8", Kind::kText},                   // 8
    {"version_label", Kind::kText},             // 9
    {"version_separator", Kind::kText},         // 10
    {"empty_11", Kind::kText},                  // 11
    {"hotfix_marker", Kind::kText},             // 12
    {"empty_13", Kind::kText},                  // 13
    {"image_description_marker", Kind::kText},  // 14
    {"platform", Kind::kText},                  // 15
    {"build_date", Kind::kText},                // 16
    {"unused_17", Kind::kNull},                 // 17
    {"unused_18", Kind::kNull},                 // 18
    {"unused_19", Kind::kNull},                 // 19
    {"unused_20", Kind::kNull},                 // 20
    {"unused_21", Kind::kNull},                 // 21
    {"unused_22", Kind::kNull},                 // 22
    {"unused_23", Kind::kNull},                 // 23
    {"unused_24", Kind::kNull},                 // 24
    {"unused_25", Kind::kNull},                 // 25
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
    // The same 26 words seen as numbers and as texts; which view applies is the field's kind.
    intptr_t numbers[26];
    const char* texts[26];
    std::memcpy(numbers, &stamp, sizeof numbers);
    std::memcpy(texts, &stamp, sizeof texts);

    for (int n = 0; n < 26; ++n) {
        std::fprintf(out, "%2d %-24s ", n, kFields[n].name);
        if (kFields[n].kind == Kind::kInteger) {
            std::fprintf(out, "%" PRIdPTR, numbers[n]);
        } else if (texts[n] == nullptr) {
            std::fputs("null", out);
        } else if (kFields[n].kind == Kind::kText) {
            print_text(out, texts[n]);
        } else {
            // Expected to be null; not followed, since nothing says what it points to.
            std::fprintf(out, "%p", static_cast<const void*>(texts[n]));
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
