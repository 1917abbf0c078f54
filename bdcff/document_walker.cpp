// Walking the input file's frame of tags, cave by cave.
#include "bdcff/document_walker.h"

std::int32_t CaveCount = 0;
