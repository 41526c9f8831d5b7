#pragma once
// How the reader thread lets time pass. The program sleeps for real; tests hand the reader a
// sleeper of their own that records the waits and returns at once, or sets a flag part-way, so a
// five-second wait takes no time and its length can still be checked.

#include <chrono>

class CTavrelSleeper {
public:
    virtual ~CTavrelSleeper() = default;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;

    // The one that sleeps on the calling thread; shared by every reader of the process.
    static CTavrelSleeper& System();
};
