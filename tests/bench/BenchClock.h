#pragma once

#include <windows.h>

// Wall times of the benchmark programs, from the performance counter.
inline LONGLONG Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline double Microseconds(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return ticks * 1e6 / frequency.QuadPart;
}
