#include "app/Wiring.h"
