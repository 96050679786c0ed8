/* A tiny native library with a self-registration entry point, loaded by test_Library. */
static int registrations = 0;

int DllRegisterServer(void) { return registrations++ == 0 ? 0 : 2; }

int DllUnregisterServer(void) { return 0; }
