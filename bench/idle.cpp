// Benchmark yardstick: a program that only exits, to show what one process start costs.
#include <windows.h>

extern "C" void IdleStart();

void IdleStart()
{
    ExitProcess(0);
}
