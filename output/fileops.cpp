#include "fileops.h"
