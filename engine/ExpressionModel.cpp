#include "engine/ExpressionModel.h"
