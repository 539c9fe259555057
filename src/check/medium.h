// The distribution medium on the host: what of it can be copied onto a
// simulated machine, and what cannot.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace setup32::check {

struct MediumListing {
    std::filesystem::path root;
    std::vector<std::filesystem::path> directories;  // relative to root, parents first
    std::vector<std::filesystem::path> files;        // relative to root, readable
    std::uintmax_t bytes = 0;                        // of the files
    std::vector<std::string> problems;               // UTF-8: a file left out, and why
};

// Lists the medium without following links to directories (a link loop
// cannot trap it); a link to a file counts as that file. False, with the
// reason in `whyNot`, when `root` is not a directory that can be read.
bool ListMedium(const std::filesystem::path& root, MediumListing& listing, std::string& whyNot);

// Copies the listed files into `destination` (made when missing), each
// name given as the bytes a program of code page `codePage` uses for it (the
// simulated machine's names are those bytes; the host's are UTF-8). A name
// the code page has no bytes for keeps its own, and `unconverted` says so.
// False with the reason in `whyNot` when one of the files cannot be copied.
bool CopyMedium(const MediumListing& listing, const std::filesystem::path& destination,
                unsigned codePage, std::vector<std::string>& unconverted, std::string& whyNot);

}  // namespace setup32::check
