// Progress of long work (writing a disc image, reading a large program), told to whoever watches
// it, and a way for them to stop it.
#pragma once

#include <cstdint>

// Handed to long work by its caller, never reached otherwise. The work calls it from its own
// thread, as it goes; an implementation that shows it elsewhere hands it over itself.
class Progress {
public:
    virtual ~Progress() = default;

    // done of total bytes of the work in hand are done; done never exceeds total. Called at least
    // at the start and at the end of each piece of work, and often between.
    virtual void Advance(std::uint64_t done, std::uint64_t total) = 0;

    // Whether the watcher wants the work stopped: the work then ends as soon as it can, leaving
    // nothing of what it had not finished.
    virtual bool Cancelled() = 0;
};
