#pragma once

// Processor time used by this process so far, in milliseconds: on a machine
// shared with other work it is closer than the elapsed time to what a step
// costs.
#include <sys/resource.h>

// who: RUSAGE_SELF, or RUSAGE_CHILDREN for the programs a benchmark ran
// (those that have ended).
inline double processorMs(int who = RUSAGE_SELF)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}
