#include "ui/base/memorysettings.h"

#include <malloc.h>

void settleWindowMemory() {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024);
}
