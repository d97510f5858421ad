#include "pair/gear_pair.h"
