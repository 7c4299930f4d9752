// Runs a checked script on a session: makes the instance, calls one entry per line, keeps the values
// lines ask for, and destroys the instance at the end unless the script did.
#pragma once

#include <string>
#include <vector>

#include "host_session.h"
#include "script_parser.h"

namespace vxhost {

// Throws SessionFailure, naming the line, for a call whose status is not 0 on a line without `try`, and
// ScriptError for a variable whose value does not fit where a line uses it.
void run_script(const std::vector<Statement>& script, const std::string& source, HostSession& session);

}  // namespace vxhost
