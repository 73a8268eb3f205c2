#include "channelcodec.h"
