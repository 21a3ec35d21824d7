// The floor of a command-line recorder: reads the instrument's line and writes
// each 14-byte frame to a file as it arrives (one read, one write a frame),
// nothing else.
//
//   floor_cli DEVICE OUTPUT
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: floor_cli DEVICE OUTPUT\n");
        return 2;
    }
    const int in = ::open(argv[1], O_RDONLY | O_NOCTTY);
    const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("floor_cli");
        return 1;
    }
    termios tio{};
    ::tcgetattr(in, &tio);
    ::cfmakeraw(&tio);
    tio.c_cc[VMIN] = 14;
    tio.c_cc[VTIME] = 1;
    ::tcsetattr(in, TCSANOW, &tio);
    unsigned char frame[14];
    int have = 0;
    for (;;) {
        const ssize_t n = ::read(in, frame + have, sizeof frame - have);
        if (n <= 0)
            return n == 0 ? 0 : 1;
        have += static_cast<int>(n);
        if (have == sizeof frame) {
            if (::write(out, frame, sizeof frame) != static_cast<ssize_t>(sizeof frame))
                return 1;
            have = 0;
        }
    }
}
