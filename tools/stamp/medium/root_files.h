// Files written at a medium's root, all or nothing: each planned against what is there now,
// then all written together, or none, never through a link or outside the root; what a
// replacement replaces is kept until every file is in place.
#pragma once

#include "image/place.h"
#include "system/system.h"

#include <string>
#include <vector>

// What became of a planned file.
enum class FileFate {
    NotWritten,   // the write did not reach it: what was there is as it was
    Unchanged,    // it already held what was planned: left as it was
    Written,      // written (created, or what was there replaced)
    Restored,     // written, then given back what was there before, since another file failed
    NotRestored,  // written, and what was there before could not be given back
};

// The fate's name as make's JSON gives it: "not-written", "unchanged", "written", ...
const char* FileFateName(FileFate fate);

// One file to be written at a medium's root, and what is there now.
struct PlannedFile {
    std::string path;        // where it goes (an existing entry of that name in any letter case)
    std::string name;        // its name at the root, as the entry there is named
    std::string what;        // what it does, for the report
    Bytes bytes;             // what it is to hold
    EntryKind kind = EntryKind::Missing;  // what is there now
    Bytes current;           // the plain file there as it was judged: all of it, or its start when it is large
    std::uint64_t currentSize = 0;  // that file's size then
    bool unchanged = false;  // it is already as planned: nothing to write
    bool currentSigned = false;  // the file there carries a signature that verified when it was judged
    std::string note;        // said when it is written
    bool readOnlyKept = false;  // it replaced a read-only file and was made read-only again
    FileFate fate = FileFate::NotWritten;  // what the write did to it
};

// Plans writing bytes as name at the root of medium, a folder's place (an entry of that name in
// another letter case is the one replaced): finds what is there and refuses, with the reason, what
// must not be replaced. A link is replaced only with force (linkNeedsForce then tells a refusal
// that force would lift), and never one that leads to the program (program: its components
// below the root) or out of the medium; a folder, FIFO, device or socket never. A plain file
// there is for the caller to judge; currentSize gets its size.
bool PlanRootFile(const MediumPlace& medium, const std::vector<std::string>& program, const std::string& name,
                  const std::string& what, Bytes bytes, bool force, PlannedFile& planned, std::string& error,
                  bool* linkNeedsForce = nullptr);

// Writes every planned file, or none. Each is first staged whole beside its place, and a copy
// of each plain file to be replaced is kept beside it (a disk without room for it refuses the
// write); then each is put in place with one rename: a new file only if nothing appeared there
// meanwhile, a plain file only if it still is what was judged (current, currentSize). When one
// cannot be, those already put in place are undone: a new file removed, a replaced one given
// back its kept copy. With SOURCE_DATE_EPOCH set (SourceDateEpoch), each file written is dated
// then instead of at the time of writing. Each file's fate tells what became of it; out and err say it in words, and
// reason, when given, gets why the write failed.
bool WriteAllOrNothing(const std::vector<PlannedFile*>& files, std::string& out, std::string& err,
                       std::string* reason = nullptr);
