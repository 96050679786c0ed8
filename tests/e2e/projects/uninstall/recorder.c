/* A self-registering library for the uninstall tests: each registration call appends a line
   to the file that QNL_TEST_ACTIVEX_LOG names, so a test sees that the uninstall undid it. */
#include <stdio.h>
#include <stdlib.h>

static int Note(const char* What) {
  const char* path = getenv("QNL_TEST_ACTIVEX_LOG");
  FILE* f = path ? fopen(path, "a") : NULL;
  if (!f) return 1;
  fprintf(f, "%s\n", What);
  fclose(f);
  return 0;
}

int DllRegisterServer(void) { return Note("register"); }
int DllUnregisterServer(void) { return Note("unregister"); }
