/* The floor for reading the line: polls the PV of the given blocks round and round, as
 * the monitor does, and waits for each reply with VMIN as the link does (the shortest
 * reply first, then the rest, at most 64 characters a wait), with nothing else to do.
 * Usage: rdx_floor_reader DEVICE BLOCK...   (runs until SIGTERM) */
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <termios.h>
#include <unistd.h>

enum { kShortest = 11, kReadReply = 91, kMostPerWait = 64, kTimeOutMs = 300 };

static volatile sig_atomic_t stop;
static void OnTerm(int sig) { (void)sig; stop = 1; }

static void SetMinimum(int fd, struct termios* tio, int count) {
    if (tio->c_cc[VMIN] == count) return;
    tio->c_cc[VMIN] = (cc_t)count;
    tcsetattr(fd, TCSANOW, tio);
}

static int Request(char* frame, int block) {
    const char body[] = {(char)(0x20 + block), ' ', '"', '0', '0', '8', '0'};
    unsigned sum = 0;
    for (size_t i = 0; i < sizeof body; ++i) sum += (unsigned char)body[i];
    frame[0] = 0x02;
    memcpy(frame + 1, body, sizeof body);
    snprintf(frame + 8, 3, "%02X", (256u - (sum & 0xFFu)) & 0xFFu);
    frame[10] = 0x03;
    return 11;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s DEVICE BLOCK...\n", argv[0]);
        return 2;
    }
    const int fd = open(argv[1], O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        perror(argv[1]);
        return 1;
    }
    struct termios tio;
    tcgetattr(fd, &tio);
    cfmakeraw(&tio);
    tio.c_cc[VTIME] = 0;
    tio.c_cc[VMIN] = 1;
    tcsetattr(fd, TCSANOW, &tio);
    signal(SIGTERM, OnTerm);
    signal(SIGINT, OnTerm);

    unsigned long exchanges = 0, silent = 0;
    for (int k = 2; !stop; k = k + 1 < argc ? k + 1 : 2) {
        char frame[16];
        const int n = Request(frame, atoi(argv[k]));
        if (write(fd, frame, (size_t)n) != n) break;
        char reply[256];
        int got = 0, started = 0;
        for (;;) {
            /* Until the reply has begun, the shortest reply; then the rest of a read reply. */
            int due = started ? kReadReply - got : kShortest;
            if (due < 1) due = 1;
            SetMinimum(fd, &tio, due > kMostPerWait ? kMostPerWait : due);
            struct pollfd p = {fd, POLLIN, 0};
            if (poll(&p, 1, kTimeOutMs) <= 0) {
                ++silent;
                break;
            }
            char buf[256];
            const ssize_t r = read(fd, buf, sizeof buf);
            if (r <= 0) continue;
            int done = 0;
            for (ssize_t i = 0; i < r && !done; ++i) {
                if (buf[i] == 0x06 || buf[i] == 0x15) got = 0, started = 1;
                if (started && got < (int)sizeof reply) reply[got++] = buf[i];
                done = started && buf[i] == 0x03;
            }
            if (done) {
                ++exchanges;
                break;
            }
        }
    }
    fprintf(stderr, "rdx_floor_reader: %lu exchanges, %lu without reply\n", exchanges, silent);
    return 0;
}
