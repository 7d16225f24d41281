#include "store/contactrepository.h"
