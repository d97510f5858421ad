#include "scenes/scenes.h"
