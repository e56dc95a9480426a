// Files written at a medium's root, all or nothing: each planned against what is there now,
// then all written together, or none, never through a link or outside the root.
#pragma once

#include "system/system.h"

#include <string>
#include <vector>

// One file to be written at a medium's root, and what is there now.
struct PlannedFile {
    std::string path;        // where it goes (an existing entry of that name in any letter case)
    std::string what;        // what it does, for the report
    Bytes bytes;             // what it is to hold
    EntryKind kind = EntryKind::Missing;  // what is there now
    Bytes current;           // what the plain file there holds, when that was read whole
    bool unchanged = false;  // it is already as planned: nothing to write
    std::string note;        // said when it is written
    bool readOnlyKept = false;  // it replaced a read-only file and was made read-only again
};

// Plans writing bytes as name at root (an entry of that name in another letter case is the
// one replaced): finds what is there and refuses, with the reason, what must not be replaced. A
// link is replaced only with force, and never one that leads to programPath or out of root; a
// folder, FIFO, device or socket never. A plain file there is for the caller to judge.
bool PlanRootFile(const std::string& root, const std::string& programPath, const std::string& name,
                  const std::string& what, Bytes bytes, bool force, PlannedFile& planned, std::string& error);

// Writes every planned file, or none. Each is first staged whole beside its place; then each is
// put in place with one rename: a new file only if nothing appeared there meanwhile, a plain
// file only if it still holds what was read (current). When one cannot be, those already put
// in place are undone. Says on out and err what was and was not changed.
bool WriteAllOrNothing(const std::vector<PlannedFile*>& files, std::string& out, std::string& err);
