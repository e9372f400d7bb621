#pragma once

// Clears the upper halves of the AVX registers when the processor has them.
//
// Code elsewhere in the process (the test framework's libraries did it) can
// leave them dirty; from then on every SSE instruction of code built for the
// baseline processor pays a merge penalty, which made the age calculation
// sixteen times slower. Call it on entry to a long numerical loop; it costs a
// few cycles and does nothing on processors without AVX.
void clearUpperVectorState();
