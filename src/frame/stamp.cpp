#include "frame/stamp.h"

namespace {
const VersionStamp kStamp = {};
}  // namespace

extern "C" int32_t vxbldmk1(VersionStamp* stamp) {
    *stamp = kStamp;
    return 0;
}
