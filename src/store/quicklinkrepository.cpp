#include "store/quicklinkrepository.h"
