// kx520s-sim: the simulated instrument on a pseudo-terminal, for trying the program without
// hardware. Prints the port name to open and serves until interrupted.
#include "PtyInstrument.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <unistd.h>

namespace {

struct Options {
    std::string ident = "KS5";
    std::array<bool, 3> sensors{true, true, true};
    SimFaults faults;
    bool untilStdinCloses = false;
};

void printUsage(FILE *to)
{
    std::fputs("usage: kx520s-sim [--ident ABC] [--sensors 111] [--line-timing] [--silent]\n"
               "                  [--corrupt] [--drop-every K] [--until-stdin-closes]\n"
               "  --ident ABC           three letters answered to the identification (default KS5)\n"
               "  --sensors 101         presence of sensors 0, 1, 2 as 1 or 0 (default 111)\n"
               "  --line-timing         take as long as a 57600 bit/s line\n"
               "  --silent              never answer\n"
               "  --corrupt             send replies with a wrong checksum\n"
               "  --drop-every K        leave every K-th reply unsent\n"
               "  --until-stdin-closes  also end when standard input reaches its end\n"
               "Prints the port name (e.g. pts/5, to be opened as /dev/pts/5) on the first line.\n",
               to);
}

std::optional<Options> parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--ident" && hasValue && std::strlen(argv[i + 1]) == 3) {
            options.ident = argv[++i];
        } else if (arg == "--sensors" && hasValue && std::strlen(argv[i + 1]) == 3 &&
                   std::strspn(argv[i + 1], "01") == 3) {
            const char *bits = argv[++i];
            for (int s = 0; s < 3; ++s)
                options.sensors[s] = bits[s] == '1';
        } else if (arg == "--drop-every" && hasValue) {
            char *end = nullptr;
            const long k = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || end == argv[i] || k < 0 || k > 1'000'000)
                return std::nullopt;
            options.faults.dropEvery = static_cast<int>(k);
        } else if (arg == "--line-timing") {
            options.faults.lineTiming = true;
        } else if (arg == "--silent") {
            options.faults.silent = true;
        } else if (arg == "--corrupt") {
            options.faults.corruptChecksums = true;
        } else if (arg == "--until-stdin-closes") {
            options.untilStdinCloses = true;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

/// Returns when SIGINT or SIGTERM arrives, or standard input ends if `watchStdin`.
void waitForEnd(int signals, bool watchStdin)
{
    std::array<pollfd, 2> fds{{{signals, POLLIN, 0}, {watchStdin ? STDIN_FILENO : -1, POLLIN, 0}}};
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[0].revents)
            return;
        if (fds[1].revents) {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
                return;
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        printUsage(stdout);
        return EXIT_SUCCESS;
    }
    const std::optional<Options> options = parseOptions(argc, argv);
    if (!options) {
        printUsage(stderr);
        return 2;
    }

    // Blocked before the serving thread starts, so that it inherits the mask and the signals
    // reach only the signalfd.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &endSignals, nullptr);
    const int signals = ::signalfd(-1, &endSignals, SFD_CLOEXEC);
    if (signals < 0) {
        std::perror("kx520s-sim: signalfd");
        return EXIT_FAILURE;
    }

    try {
        PtyInstrument instrument;
        instrument.setIdentity(options->ident);
        for (int s = 0; s < 3; ++s)
            instrument.setSensorPresent(s, options->sensors[s]);
        instrument.setFaults(options->faults);

        std::printf("%s\n", instrument.portName().c_str());
        std::fflush(stdout);
        waitForEnd(signals, options->untilStdinCloses);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "kx520s-sim: %s\n", e.what());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
