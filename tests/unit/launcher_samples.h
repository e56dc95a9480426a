// Launchers built by this project, for the stamping tool's tests: read from the Windows
// build trees when they exist (the test command builds those first).
#pragma once

#include "pe/pe_image.h"

#include <filesystem>
#include <string>
#include <vector>

// The paths of the built launchers that exist, 64-bit first.
std::vector<std::string> LauncherSamples();

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

// A little-endian 32-bit value in bytes, for tests that take headers apart.
std::uint32_t Get32(const Bytes& bytes, std::size_t offset);
void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value);

// A folder for one test under the system's temporary folder, named after name and this
// process, so that test runs side by side never share one.
std::filesystem::path TestFolder(const std::string& name);

// A small whole Windows program for x86-64, which Windows' loader takes for one, then tag: a
// file that the tools take for a program, different for each tag.
std::string TestProgram(const std::string& tag = "");

// The first line of text, without its line end.
std::string FirstLine(const std::string& text);
