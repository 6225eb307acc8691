#include "exchange/Codec.h"
