#include "display/MainDisp.h"
