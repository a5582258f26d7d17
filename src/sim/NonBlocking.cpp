#include "sim/NonBlocking.h"

#include <fcntl.h>

void SetNonBlocking(int fd) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}
