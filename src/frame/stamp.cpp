// The library's build stamp. The build writes the values it decides into stamp_values.h (see
// cmake/stamp_values.cmake); the rest are fixed here.
#include "frame/stamp.h"

#include "stamp_values.h"

namespace {

const char kRelease[] = VX_STAMP_RELEASE;
const char kBuildTrees[] = VX_STAMP_BUILD_TREES;
const char kRevisionId[] = VX_STAMP_REVISION_ID;
const char kPlatform[] = VX_STAMP_PLATFORM;
const char kBuildDate[] = VX_STAMP_BUILD_DATE;

// Each marker is a name, "=" and blanks to 65 characters. A value is written later into the blank room
// of the built file, in place, so each marker must sit in the file exactly once as one contiguous text:
// a named array, which the compiler neither merges with nor splits into other strings. Not const: the
// compiler copies the contents of a constant array into the debug information, which would leave a
// second, stale marker in the file.
char kHotfixMarker[] = "ORB_VERSION_HOTFIX_NUMBER=                                       ";
char kImageDescriptionMarker[] = "BLDMRK_IMAGE_DESCRIPTION=                                        ";
static_assert(sizeof kHotfixMarker == 66);
static_assert(sizeof kImageDescriptionMarker == 66);

const VersionStamp kStamp = {
    kRelease,                 // 0
    kBuildTrees,              // 1
    "",                       // 2
    VX_STAMP_BUILD_TIME,      // 3
    "cleanser",               // 4
    vx_stamp_build_code,      // 5
    "vxcl",                   // 6
    kRevisionId,              // 7
    "",                       // 8
    "version",                // 9
    "::",                     // 10
    "",                       // 11
    kHotfixMarker,            // 12
    "",                       // 13
    kImageDescriptionMarker,  // 14
    kPlatform,                // 15
    kBuildDate,               // 16
    {},                       // 17-25
};

}  // namespace

extern "C" int32_t vxbldmk1(VersionStamp* stamp) {
    *stamp = kStamp;
    return 0;
}
