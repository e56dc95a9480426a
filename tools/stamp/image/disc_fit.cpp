// The discs a disc image fits on, by its size alone.
#include "image/disc_fit.h"

namespace {

// A number of bytes with thousands separated by commas, as the messages write it.
std::string Grouped(std::uint64_t value)
{
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

}  // namespace

const std::vector<Disc>& Discs()
{
    static const std::vector<Disc> discs = {
        {"cd", "a CD", 360000ull * 2048},
        {"dvd", "a DVD", 2295104ull * 2048},
        {"dvd-dl", "a dual-layer DVD", 4171712ull * 2048},
        {"bd", "a BD", 12219392ull * 2048},
        {"bd-dl", "a dual-layer BD", 24438784ull * 2048},
    };
    return discs;
}

const Disc* DiscNamed(const std::string& name)
{
    for (const Disc& disc : Discs()) {
        if (name == disc.name)
            return &disc;
    }
    return nullptr;
}

const Disc* SmallestDiscFor(std::uint64_t size)
{
    for (const Disc& disc : Discs()) {
        if (size <= disc.bytes)
            return &disc;
    }
    return nullptr;
}

std::string DiscNames()
{
    std::string names;
    const std::vector<Disc>& discs = Discs();
    for (std::size_t i = 0; i < discs.size(); ++i)
        names += std::string(i == 0 ? "" : i + 1 == discs.size() ? " or " : ", ") + discs[i].name;
    return names;
}

std::string DiscFitNote(std::uint64_t size)
{
    const Disc* disc = SmallestDiscFor(size);
    if (disc == nullptr)
        return "The image takes " + Grouped(size) + " bytes: it fits on no disc; " + Discs().back().shown +
               ", the largest, holds " + Grouped(Discs().back().bytes) + ".";
    return "The image takes " + Grouped(size) + " bytes: it fits on " + disc->shown + " (" + disc->name + ", " +
           Grouped(disc->bytes) + " bytes) or larger.";
}

std::string DiscMisfit(std::uint64_t size, const Disc& disc)
{
    if (size <= disc.bytes)
        return "";
    const Disc* fits = SmallestDiscFor(size);
    return "The image takes " + Grouped(size) + " bytes, " + Grouped(size - disc.bytes) + " more than " + disc.shown +
           " (" + disc.name + ") holds. What to do: leave files out, or burn it on " +
           (fits != nullptr ? std::string(fits->shown) + " (" + fits->name + ")" : std::string("several discs")) + ".";
}
