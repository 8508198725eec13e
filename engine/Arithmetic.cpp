#include "engine/Arithmetic.h"
