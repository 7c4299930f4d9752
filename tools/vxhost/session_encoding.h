// The host's session encoding as vxhost uses it: every text the host hands to an entry is first put into
// this encoding, and every text an entry hands back is read in it. The terminal is UTF-8, so vxhost keeps
// its own texts in UTF-8 and converts at the boundary.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/host/sim_host.h"

namespace vxhost {

// A text as vxhost holds it: UTF-8, or no text at all (a null pointer at the interface).
using Text = std::optional<std::string>;

class SessionEncoding {
  public:
    explicit SessionEncoding(const simhost::EncodingInfo& info) : info_(info) {}

    int32_t id() const { return info_.id; }
    const char* name() const { return info_.name; }

    // UTF-8 -> session encoding (characters it cannot hold are substituted, as the host does).
    std::string to_session(std::string_view utf8) const;
    // Session encoding -> UTF-8.
    std::string to_utf8(std::string_view session) const;
    // Text handed back by an entry, for display: null stays null.
    Text read(const char* session) const;
    // True when `utf8` comes back unchanged from a trip through the session encoding.
    bool can_hold(std::string_view utf8) const;

  private:
    const simhost::EncodingInfo& info_;
};

}  // namespace vxhost
