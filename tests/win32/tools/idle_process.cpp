// Stands in for a running copy of a program that the code under test must
// stop (or leave alone): does nothing for a minute, then exits with 0. A
// test copies it under the name it needs. A GUI program, so being started
// does not open a console.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(60000);
  return 0;
}
