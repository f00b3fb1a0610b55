#pragma once

/// Misbehaviours the simulated instrument can be switched into, to exercise the program's recovery.
struct SimFaults {
    bool silent = false;           ///< take requests, never answer
    bool corruptChecksums = false; ///< invert the checksum byte of every 8-byte reply
    int dropEvery = 0;             ///< swallow every k-th reply, counted from setFaults; 0 = off
    bool lineTiming = false;       ///< take as long as a 57600 bit/s line would, request and reply
};
