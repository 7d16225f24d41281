#include "testmain.h"

BREVANE_TEST_MAIN()
