#pragma once
#include "history/Entry.h"
