// Holds a port the way the program does (exclusive hold and lock) until its input ends,
// so that tests meet a port that another process has taken.
#include "OpenFailure.h"
#include "SerialDevice.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    OpenFailure failure;
    const int fd = SerialDevice::openExclusive(SerialDevice::devicePath(argv[1]), failure);
    if (fd < 0)
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    char byte;
    while (read(STDIN_FILENO, &byte, 1) > 0) {
    }
    SerialDevice::closePort(fd);
    return 0;
}
