// The build stamp that hosts read through vxbldmk1.
#pragma once

#include <cstdint>

extern "C" {

// 26 pointer-sized fields; texts point into the library's static data. Field 3 is an integer.
struct VersionStamp {
    const void* field[26];
};
static_assert(sizeof(VersionStamp) == 208);

// Copies every field value of the library's stamp into *stamp; returns 0.
__attribute__((visibility("default"))) int32_t vxbldmk1(VersionStamp* stamp);

}  // extern "C"
