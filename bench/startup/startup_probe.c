// Starts a program and reports, on one line, the milliseconds from its exec until its first
// window is mapped on the X server of $DISPLAY; its peak resident memory in KiB, taken when it
// is ended SETTLE_MS after that (so work done just after the window shows counts too); and the
// processor time in milliseconds that its threads had used when the window was mapped, which a
// loaded machine disturbs less than the wall time.
// Run it on a private server without a window manager: the first top-level window mapped is
// the program's.
// Usage: vostrel-startup-probe SETTLE_MS PROGRAM [ARGS...]
// With STARTUP_PROBE_AT_MAP set, that shell command runs as soon as the window is mapped, with
// the program's pid as $1, and the settle time starts once it has ended: a look at the program
// as it shows its window (its memory map, its threads' times, a profiler's dump).
#define _GNU_SOURCE
#include <X11/Xlib.h>

#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The time on a processor of every thread of process pid, in milliseconds.
static double CpuMs(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/task", (int)pid);
    DIR* tasks = opendir(path);
    if (tasks == NULL) {
        return -1;
    }
    double ns = 0;
    for (struct dirent* t; (t = readdir(tasks)) != NULL;) {
        if (t->d_name[0] == '.') {
            continue;
        }
        char stat[300];
        snprintf(stat, sizeof stat, "/proc/%d/task/%.200s/schedstat", (int)pid, t->d_name);
        FILE* f = fopen(stat, "r");
        unsigned long long run = 0;
        if (f != NULL) {
            if (fscanf(f, "%llu", &run) == 1) {
                ns += (double)run;
            }
            fclose(f);
        }
    }
    closedir(tasks);
    return ns / 1e6;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int settleMs = atoi(argv[1]);
    Display* d = XOpenDisplay(NULL);
    if (d == NULL) {
        fprintf(stderr, "startup-probe: no X display\n");
        return 2;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(d));
        execv(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1;
    double cpu = -1;
    int status = 0;
    struct rusage ru;
    const double deadline = start + 30000;
    while (mapped < 0) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect && mapped < 0) {
                mapped = NowMs();
                cpu = CpuMs(pid);
            }
        }
        if (mapped >= 0) {
            break;
        }
        if (wait4(pid, &status, WNOHANG, &ru) == pid) {
            fprintf(stderr, "startup-probe: %s ended before it showed a window\n", argv[2]);
            return 1;
        }
        if (NowMs() > deadline) {
            fprintf(stderr, "startup-probe: no window within 30 s\n");
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return 1;
        }
        struct pollfd p = {ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, 20);
    }
    const char* atMap = getenv("STARTUP_PROBE_AT_MAP");
    if (atMap != NULL && *atMap != '\0') {
        char pidText[24];
        snprintf(pidText, sizeof pidText, "%d", (int)pid);
        const pid_t hook = fork();
        if (hook == 0) {
            close(ConnectionNumber(d));
            execl("/bin/sh", "sh", "-c", atMap, "sh", pidText, (char*)NULL);
            _exit(127);
        }
        int hookStatus = 0;
        while (hook > 0 && waitpid(hook, &hookStatus, 0) < 0 && errno == EINTR) {
        }
    }
    usleep((useconds_t)settleMs * 1000u);
    kill(pid, SIGKILL);
    while (wait4(pid, &status, 0, &ru) < 0 && errno == EINTR) {
    }
    printf("%.1f %ld %.1f\n", mapped - start, ru.ru_maxrss, cpu);
    XCloseDisplay(d);
    return 0;
}
