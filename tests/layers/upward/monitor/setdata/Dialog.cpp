#include "app/MainDisp.h"
