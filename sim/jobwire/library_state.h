// Everything one loaded client library remembers, behind one lock.
//
// The client functions may be called from several threads (one per host instance); each call holds the
// lock from recording to answer, so calls, scripts and the server's state stay consistent.
#pragma once

#include <mutex>

#include "call_log.h"
#include "scripted_answers.h"
#include "server.h"

namespace jwsim {

struct LibraryState {
    std::mutex lock;
    CallLog calls;
    ScriptQueue scripts;
    Server server;
    bool recording = true;

    // Back to the state of a freshly loaded library.
    void reset();
};

LibraryState& library_state();

}  // namespace jwsim
