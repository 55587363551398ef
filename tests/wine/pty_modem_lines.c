/* Test aid, loaded into Wine with LD_PRELOAD by the Wine tests only.
 *
 * Wine reads a serial port's modem lines (TIOCMGET) whenever a WaitCommEvent may have ended, and
 * gives the wait up (ERROR_OPERATION_ABORTED) when it cannot. A pseudo-terminal has no modem
 * lines and always refuses. This answers for pseudo-terminals as a cabled UART would: DSR, CTS
 * and carrier up. A hung-up pseudo-terminal still fails (EIO), so a hang-up stays one. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <stddef.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

/* Linux numbers the slaves of /dev/ptmx with these majors (UNIX98_PTY_SLAVE_MAJOR and up). */
static int is_pty_slave(int fd)
{
    struct stat info;
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && major(info.st_rdev) >= 136 && major(info.st_rdev) <= 143;
}

int ioctl(int fd, unsigned long request, ...)
{
    static int (*real_ioctl)(int, unsigned long, ...);
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if (real_ioctl == NULL) real_ioctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    const int result = real_ioctl(fd, request, arg);
    if (result == -1 && request == TIOCMGET && errno == ENOTTY && is_pty_slave(fd)) {
        *(int*)arg = TIOCM_DTR | TIOCM_RTS | TIOCM_CTS | TIOCM_DSR | TIOCM_CAR;
        return 0;
    }
    return result;
}
