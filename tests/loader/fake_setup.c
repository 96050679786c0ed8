/* A stand-in installation program for the loading program's tests. It writes what it was
   given into the file named by QNL_FAKE_REPORT: one "arg=" line per argument, "cwd=", "dir="
   (its own directory), "file=<name> <size>" for each entry beside it and "env=NAME=VALUE" for
   each QUENLOFT_* variable. It ends with the
   status in QNL_FAKE_STATUS (default 0), or killed by the signal QNL_FAKE_SIGNAL, after
   sleeping QNL_FAKE_SLEEP_MS milliseconds. With QNL_FAKE_REMOVE_AFTER_MS it leaves behind a
   process that removes its directory that many milliseconds later, as the real program's
   clean-up batch file does once the program has ended. */
#define _XOPEN_SOURCE 700
#include <dirent.h>
#include <ftw.h>
#include <limits.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

static int RemoveEntry(const char* Path, const struct stat* St, int Flag, struct FTW* Ftw) {
  (void)St;
  (void)Flag;
  (void)Ftw;
  return remove(Path);
}

static void Sleep(long Ms) {
  struct timespec pause = {Ms / 1000, (Ms % 1000) * 1000000L};
  nanosleep(&pause, NULL);
}

static void RemoveLater(const char* Dir, long Ms) {
  pid_t child = fork();
  if (child != 0) return;
  setsid();
  if (fork() != 0) _exit(0);
  Sleep(Ms);
  nftw(Dir, RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  _exit(0);
}

int main(int argc, char** argv) {
  const char* report = getenv("QNL_FAKE_REPORT");
  const char* status = getenv("QNL_FAKE_STATUS");
  const char* removeAfter = getenv("QNL_FAKE_REMOVE_AFTER_MS");
  const char* sleepMs = getenv("QNL_FAKE_SLEEP_MS");
  const char* signalNumber = getenv("QNL_FAKE_SIGNAL");
  char self[PATH_MAX] = {0};
  char cwd[PATH_MAX] = {0};
  if (readlink("/proc/self/exe", self, sizeof self - 1) < 0) return 100;
  *strrchr(self, '/') = '\0';
  if (!getcwd(cwd, sizeof cwd)) cwd[0] = '\0';
  FILE* out = report ? fopen(report, "w") : NULL;
  if (!out) return 101;
  for (int i = 1; i < argc; ++i) fprintf(out, "arg=%s\n", argv[i]);
  fprintf(out, "cwd=%s\ndir=%s\n", cwd, self);
  DIR* dir = opendir(self);
  struct dirent* entry;
  while (dir && (entry = readdir(dir)) != NULL) {
    if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
    char path[PATH_MAX];
    struct stat st;
    snprintf(path, sizeof path, "%s/%s", self, entry->d_name);
    if (stat(path, &st) == 0) fprintf(out, "file=%s %lld\n", entry->d_name, (long long)st.st_size);
  }
  if (dir) closedir(dir);
  for (char** variable = environ; *variable; ++variable)
    if (strncmp(*variable, "QUENLOFT_", 9) == 0) fprintf(out, "env=%s\n", *variable);
  fclose(out);
  if (removeAfter) RemoveLater(self, atol(removeAfter));
  if (sleepMs) Sleep(atol(sleepMs));
  if (signalNumber) raise(atoi(signalNumber));
  return status ? atoi(status) : 0;
}
