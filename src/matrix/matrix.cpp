#include "matrix/matrix.h"
