#include "engine/Evaluator.h"
