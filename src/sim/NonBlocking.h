#pragma once

// Makes reads and writes on `fd` return at once instead of waiting.
void SetNonBlocking(int fd);
