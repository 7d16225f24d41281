#pragma once

// The icon moved below the windows, so that every window can carry it.
#include "platform/appicon.h"
