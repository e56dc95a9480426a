// A signing command that does nothing: it exits 0 and leaves the file it is given as it was,
// as a signer does whose token is missing and who says nothing about it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
