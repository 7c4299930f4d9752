// The build stamp that hosts read through vxbldmk1.
//
// Hosts address the stamp's fields by position, so the layout is fixed to the byte: field n occupies
// bytes 8n to 8n+7. Text fields point into the library's static data and stay valid while it is loaded.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

struct VersionStamp {
    const char* release;                   // 18 characters ending in the eight-digit date of the build
    const char* build_trees;               // four area/tree entries separated by colons
    const char* empty_2;                   // ""
    intptr_t build_time;                   // seconds since 1970 UTC; an integer, not a pointer
    const char* component;                 // "cleanser"
    const char* build_code;                // differs per deliverable
    const char* family;                    // "vxcl"
    const char* revision_id;               // the source revision, 19 characters
    const char* empty_8;                   // ""
    const char* version_label;             // "version"
    const char* version_separator;         // "::"
    const char* empty_11;                  // ""
    const char* hotfix_marker;             // "ORB_VERSION_HOTFIX_NUMBER=" and room for a value
    const char* empty_13;                  // ""
    const char* image_description_marker;  // "BLDMRK_IMAGE_DESCRIPTION=" and room for a value
    const char* platform;                  // five characters: lower-case letters and one digit
    const char* build_date;                // build_time as local date text, 28 characters
    const void* unused[9];                 // always null
};
static_assert(sizeof(VersionStamp) == 208);
static_assert(offsetof(VersionStamp, build_trees) == 8);
static_assert(offsetof(VersionStamp, build_time) == 24);
static_assert(offsetof(VersionStamp, build_code) == 40);
static_assert(offsetof(VersionStamp, revision_id) == 56);
static_assert(offsetof(VersionStamp, version_label) == 72);
static_assert(offsetof(VersionStamp, hotfix_marker) == 96);
static_assert(offsetof(VersionStamp, image_description_marker) == 112);
static_assert(offsetof(VersionStamp, platform) == 120);
static_assert(offsetof(VersionStamp, build_date) == 128);
static_assert(offsetof(VersionStamp, unused) == 136);

// Copies every field value of the library's stamp into *stamp, whatever it held before; returns 0.
__attribute__((visibility("default"))) int32_t vxbldmk1(VersionStamp* stamp);

// The deliverable's own build code (variant.cpp): five characters in the plain build, eight in the SSL
// build. Everything else in the stamp is the same in both.
extern const char vx_stamp_build_code[];

}  // extern "C"
