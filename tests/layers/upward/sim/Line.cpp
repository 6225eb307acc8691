#include "monitor/exchange/Codec.h"
