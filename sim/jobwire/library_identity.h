// What tells the two client libraries apart: their name, used in error texts and to keep the handles
// of one library from ever equalling those of the other.
#pragma once

namespace jwsim {

const char* library_name();

}  // namespace jwsim
