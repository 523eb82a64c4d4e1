// The program's WinMain, in an object file of its own: the linker takes it from the library only when the program
// does not define WinMain itself.
#include "classlib/WinApp.h"

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return ClassLibWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
