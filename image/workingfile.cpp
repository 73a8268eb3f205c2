#include "workingfile.h"
