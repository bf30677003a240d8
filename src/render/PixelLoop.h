// Loops over the pixels of a drawing, or over the dashes of its lines, millions of them, are
// left out of the fuzzer's coverage in the fuzz build: which pixel held which colour, or where
// the hundredth dash of a line ended, tells it nothing about its input, and recording every
// comparison made drawing there several times slower than all the rest of the work (and
// filled the fuzzer's table of compared values with colours). The sanitizers still check
// them.
#pragma once

#if defined(__clang__)
#define KOYOMI_PIXEL_LOOP __attribute__((no_sanitize("coverage")))
#else
#define KOYOMI_PIXEL_LOOP
#endif
