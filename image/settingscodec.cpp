#include "settingscodec.h"
