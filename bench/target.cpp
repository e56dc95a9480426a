// Benchmark target: signals the event named in BENCH_READY, to say it runs, and exits.
// No C runtime and KERNEL32 alone, so its own start costs as little as a program's can.
#include <windows.h>

extern "C" void TargetStart();

void TargetStart()
{
    char name[128];
    const DWORD length = GetEnvironmentVariableA("BENCH_READY", name, sizeof name);
    if (length > 0 && length < sizeof name) {
        const HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, name);
        if (ready != nullptr)
            SetEvent(ready);
    }
    ExitProcess(0);
}
