#include "sim/ptyinstrument.h"
