// Our own Windows API is never Wine.
#include "tests/support/underwine.h"

bool UnderWine()
{
    return false;
}
