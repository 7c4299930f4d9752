// The texts the embedded demo passes, in sets per script. A session encoding gets the first set whose
// every text it can hold, so non-ASCII texts make the whole trip (host encoding -> UTF-8 at the client ->
// host encoding) and come back unchanged.
#pragma once

#include <utility>
#include <vector>

#include "session_encoding.h"

namespace vxhost {

struct DemoTexts {
    const char* label;  // what kind of texts these are, for the transcript
    const char* user;
    const char* password;
    const char* profile;
    const char* comment;
    const char* owner;
    std::pair<const char*, const char*> job_pairs[2];
    const char* arch_job;
    std::pair<const char*, const char*> arch_pair;
    const char* upper_fields[2];  // input fields of the `upper` service
    const char* upper_rows[3][2];
    const char* full_name;  // split by the `split_name` service at its last blank
    const char* greeting_name;
    const char* greeting_language;
};

// Every text of a set, for checking that an encoding holds them all.
std::vector<const char*> all_texts(const DemoTexts& texts);

// The set the demo uses in `encoding`.
const DemoTexts& demo_texts_for(const SessionEncoding& encoding);

}  // namespace vxhost
