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

// Copies the listed files into `destination` (made when missing); false
// with the reason in `whyNot` when one of them cannot be copied.
bool CopyMedium(const MediumListing& listing, const std::filesystem::path& destination,
                std::string& whyNot);

}  // namespace setup32::check
