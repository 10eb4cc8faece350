// Symbol visibility of the recordtable shared library: only what carries
// RECORDTABLE_EXPORT is part of its face.
#pragma once

#if defined(RECORDTABLE_BUILDING)
#define RECORDTABLE_EXPORT __attribute__((visibility("default")))
#else
#define RECORDTABLE_EXPORT __attribute__((visibility("default")))
#endif
