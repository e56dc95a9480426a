// Which blank disc a disc image fits on: the bytes each kind of recordable disc holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A kind of blank disc.
struct Disc {
    const char* name;    // as options name it: cd, dvd, dvd-dl, bd, bd-dl
    const char* shown;   // as messages name it: "a CD", "a dual-layer DVD"
    std::uint64_t bytes; // what it holds: its 2048-byte sectors (80-minute CD-R, DVD±R, DVD-R DL, BD-R)
};

// The discs, the smallest first.
const std::vector<Disc>& Discs();

// The disc named name, or null for a name that is none of Discs'.
const Disc* DiscNamed(const std::string& name);

// The smallest disc an image of size bytes fits on (one of exactly a disc's bytes fits), or null
// when it fits on none.
const Disc* SmallestDiscFor(std::uint64_t size);

// The discs' names as options list them: "cd, dvd, dvd-dl, bd or bd-dl".
std::string DiscNames();

// What check says of an image of size bytes: the smallest disc it fits on, or that it fits on none.
std::string DiscFitNote(std::uint64_t size);

// Why an image of size bytes does not fit on disc, with what to do; empty when it fits.
std::string DiscMisfit(std::uint64_t size, const Disc& disc);
