// TEMPORARY STAND-IN, to be replaced by the real "File Creation" window
// (file_creation.cpp), which is written separately. Until then it accepts
// nothing: the template stays as it was.
#include "file_creation.h"

namespace auxiliary {

bool EditTemplate(HWND, char*, const char*)
{
    return false;
}

} // namespace auxiliary
