#pragma once
#include "setdata/Record.h"
