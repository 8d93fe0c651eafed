#include "join/launchtable.h"
