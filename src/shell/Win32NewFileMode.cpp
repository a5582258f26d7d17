#include "shell/NewFileMode.h"

// A new file takes the folder's access list, which the user's profile keeps
// to the user; there is no mask to narrow.
OwnerOnlyFileCreation::OwnerOnlyFileCreation() {}

OwnerOnlyFileCreation::~OwnerOnlyFileCreation() {}
