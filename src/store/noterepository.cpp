#include "store/noterepository.h"
