/* Native self-registering libraries for the ActiveX tests, one behaviour per build:
   QNL_ACTIVEX_OK returns 0, QNL_ACTIVEX_FAIL returns 5, QNL_ACTIVEX_NEEDS_DEP returns 0 only
   when "dep.dat" lies beside the library; without any of them there is no entry point. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#if defined(QNL_ACTIVEX_OK)
int DllRegisterServer(void) { return 0; }
#elif defined(QNL_ACTIVEX_FAIL)
int DllRegisterServer(void) { return 5; }
#elif defined(QNL_ACTIVEX_NEEDS_DEP)
int DllRegisterServer(void) {
  Dl_info info;
  char path[4096];
  if (!dladdr((void*)DllRegisterServer, &info) || !info.dli_fname) return 3;
  snprintf(path, sizeof path, "%s", info.dli_fname);
  char* slash = strrchr(path, '/');
  if (!slash) return 3;
  snprintf(slash + 1, sizeof path - (size_t)(slash + 1 - path), "dep.dat");
  FILE* f = fopen(path, "rb");
  if (!f) return 4;
  fclose(f);
  return 0;
}
#else
int DllUnregisterServer(void) { return 0; }
#endif
