#include "library_state.h"

namespace jwsim {

void LibraryState::reset() {
    calls.clear();
    scripts.clear();
    server = Server{};
    recording = true;
}

LibraryState& library_state() {
    static LibraryState state;
    return state;
}

}  // namespace jwsim
