#include "memoryframe.h"
