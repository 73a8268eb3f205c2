#include "sio.h"
