/* Kestrovane on a Linux host: the device library on a pseudo-terminal (default) or a TCP port.
 *   linux_host                 prints the pseudo-terminal's path; link it into the ports folder:
 *                              ln -s /dev/pts/N ~/.config/Kestrovane/ports/COM8
 *   linux_host --tcp 5000      listens on 127.0.0.1:5000, one connection at a time;
 *                              echo tcp://127.0.0.1:5000 > ~/.config/Kestrovane/ports/COM8 */
#define _XOPEN_SOURCE 700
#define _DEFAULT_SOURCE
#include "ksvd.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

enum { ID_LAMP = 1, ID_STATUS, ID_COUNTER, ID_SPEED, ID_NAME, ID_HELLO };

static uint8_t lamp;
static char status[24] = "Lamp off";
static int32_t counter;
static int32_t speed = 1;
static char name[16];
static uint8_t hello;

static const ksvd_field counter_fields[] = {KSVD_TEXT('f', "%% s")};
static const ksvd_field speed_fields[] = {KSVD_U32('n', 3),
                                          KSVD_TEXTS('I', "Slow\0Medium\0Fast\0")};

/* id, flags, tag, field count, caption, fields, value buffer, its size: one control a line. */
/* clang-format off */
static const ksvd_control panel[] = {
    {ID_LAMP, 0, 'G', 0, "Lamp", NULL, &lamp, sizeof lamp},
    {ID_STATUS, 0, 'T', 0, "Status", NULL, status, sizeof status},
    {ID_COUNTER, 0, 'N', 1, "Running", counter_fields, &counter, sizeof counter},
    {ID_SPEED, 0, 'L', 2, "Speed", speed_fields, &speed, sizeof speed},
    {ID_NAME, KSVD_EDITABLE, 'T', 0, "Name", NULL, name, sizeof name},
    {ID_HELLO, 0, 'B', 0, "Greet", NULL, &hello, sizeof hello},
};
/* clang-format on */

static ksvd_device dev;
static int line = -1; /* the pseudo-terminal's master side or the TCP connection */
static volatile sig_atomic_t stopping;

static void line_write(void* ctx, const uint8_t* bytes, uint16_t n) {
    (void)ctx;
    while (n > 0) {
        ssize_t written = send(line, bytes, n, MSG_NOSIGNAL);
        if (written < 0) {
            written = write(line, bytes, n); /* not a socket: the pseudo-terminal */
        }
        if (written <= 0) {
            return; /* the host went away: what it missed comes again with its next Hello */
        }
        bytes += written;
        n = (uint16_t)(n - written);
    }
}

static void on_value(void* ctx, uint32_t id, const uint8_t* data, uint16_t len) {
    (void)ctx;
    (void)data;
    (void)len;
    if (id == ID_LAMP) {
        snprintf(status, sizeof status, "Lamp %s", lamp ? "on" : "off");
    } else if (id == ID_HELLO) {
        snprintf(status, sizeof status, "Hello, %s", name[0] ? name : "you");
    } else {
        return;
    }
    ksvd_changed(&dev, ID_STATUS);
}

static void on_connect(void* ctx) {
    (void)ctx;
    fprintf(stderr, "linux_host: the handheld says Hello\n");
}

static void on_disconnect(void* ctx, uint8_t why) {
    (void)ctx;
    fprintf(stderr, "linux_host: session ended (%s)\n",
            why == KSVD_END_GOODBYE   ? "Goodbye"
            : why == KSVD_END_NO_PING ? "no ping"
                                      : "ours");
}

static const ksvd_config config = {
    .name = "Linux host",
    .controls = panel,
    .ncontrols = sizeof panel / sizeof panel[0],
    .max_frame = 256,
    .ping_period_ms = 5000,
    .write = line_write,
    .on_value = on_value,
    .on_connect = on_connect,
    .on_disconnect = on_disconnect,
};

static uint32_t now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)((uint64_t)t.tv_sec * 1000u + (uint64_t)t.tv_nsec / 1000000u);
}

static int open_pty(void) {
    struct termios raw;
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        perror("linux_host: pseudo-terminal");
        exit(1);
    }
    tcgetattr(master, &raw);
    cfmakeraw(&raw);
    tcsetattr(master, TCSANOW, &raw);
    printf("%s\n", ptsname(master));
    fflush(stdout);
    return master;
}

static int listen_tcp(int port) {
    struct sockaddr_in address;
    int one = 1;
    int s = socket(AF_INET, SOCK_STREAM, 0);
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons((uint16_t)port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (s < 0 || bind(s, (struct sockaddr*)&address, sizeof address) != 0 || listen(s, 1) != 0) {
        perror("linux_host: listen");
        exit(1);
    }
    printf("tcp://127.0.0.1:%d\n", port);
    fflush(stdout);
    return s;
}

static void stop(int signal) {
    (void)signal;
    stopping = 1;
}

int main(int argc, char** argv) {
    int listener = -1;
    uint32_t counted = now_ms();
    if (argc == 3 && strcmp(argv[1], "--tcp") == 0) {
        listener = listen_tcp(atoi(argv[2]));
    } else if (argc == 1) {
        line = open_pty();
    } else {
        fprintf(stderr, "usage: linux_host [--tcp PORT]\n");
        return 2;
    }
    signal(SIGINT, stop);
    signal(SIGTERM, stop);
    ksvd_init(&dev, &config);
    while (!stopping) {
        struct pollfd ready = {line >= 0 ? line : listener, POLLIN, 0};
        uint8_t bytes[256];
        if (poll(&ready, 1, 50) > 0) {
            if (line < 0) {
                line = accept(listener, NULL, NULL);
            } else {
                ssize_t n = read(line, bytes, sizeof bytes);
                if (n > 0) {
                    ksvd_feed(&dev, bytes, (size_t)n);
                } else if (listener >= 0) { /* the connection closed: wait for the next */
                    close(line);
                    line = -1;
                }
            }
        }
        if (now_ms() - counted >= 1000) {
            counted += 1000;
            counter++;
            ksvd_changed(&dev, ID_COUNTER);
        }
        ksvd_poll(&dev, now_ms());
    }
    ksvd_goodbye(&dev);
    return 0;
}
