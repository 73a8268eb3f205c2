#include "prompter.h"
