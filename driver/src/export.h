// Marks the library's public face. The library is built with hidden
// visibility, so only symbols carrying QUOVEX_EXPORT leave it.
#pragma once

#if defined(QUOVEX_BUILDING)
#define QUOVEX_EXPORT __attribute__((visibility("default")))
#else
#define QUOVEX_EXPORT
#endif
