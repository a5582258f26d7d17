#include <sys/stat.h>

#include "shell/NewFileMode.h"

// The mask is the process's: the program saves from one thread, and nothing
// else creates files while a save runs.
OwnerOnlyFileCreation::OwnerOnlyFileCreation() : previous_(::umask(S_IRWXG | S_IRWXO)) {}

OwnerOnlyFileCreation::~OwnerOnlyFileCreation() {
    ::umask(mode_t(previous_));
}
