/* Starts a program and reports how long it takes to map its first top-level window.
 * Usage: mapwait TIMEOUT_MS PROGRAM [ARGS...]
 * Prints "<microseconds> <pid>" and leaves the program running; exits 1 (and kills the
 * program) when no window shows within the time limit. Built by run.sh with: cc -lX11. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

static long long now_us(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

static long window_pid(Display *dpy, Window w)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    long pid = -1;
    Atom prop = XInternAtom(dpy, "_NET_WM_PID", False);
    if (XGetWindowProperty(dpy, w, prop, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1)
        pid = (long)*(unsigned long *)data;
    if (data)
        XFree(data);
    return pid;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: mapwait TIMEOUT_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const long long limit = atoll(argv[1]) * 1000LL;
    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "mapwait: no X display\n");
        return 2;
    }
    /* Listen before the program starts, so no map can be missed. */
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, False);

    const long long start = now_us();
    const pid_t pid = fork();
    if (pid == 0) {
        /* The program must not hold our output open: callers read it to its end. */
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        close(ConnectionNumber(dpy));
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
    for (;;) {
        while (XPending(dpy)) {
            XEvent e;
            XNextEvent(dpy, &e);
            if (e.type == MapNotify && window_pid(dpy, e.xmap.window) == pid) {
                printf("%lld %d\n", now_us() - start, (int)pid);
                return 0;
            }
        }
        const long long left = limit - (now_us() - start);
        if (left <= 0 || poll(&fd, 1, (int)(left / 1000) + 1) < 0)
            break;
    }
    fprintf(stderr, "mapwait: no window within the time limit\n");
    kill(pid, SIGKILL);
    return 1;
}
