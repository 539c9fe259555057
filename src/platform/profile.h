// Reads of Windows profile (INI) files.
#pragma once

#include <cstddef>
#include <string>

#include "platform/types.h"

namespace setup32::platform {

class Profile {
  public:
    virtual ~Profile() = default;
    // GetPrivateProfileStringA: the value of `key` in `section` of the file
    // at `path`, or `fallback` when the key or the file is missing, cut to
    // capacity - 1 characters. Names are matched without regard to case.
    virtual std::string ReadString(const std::string& path, const std::string& section,
                                   const std::string& key, const std::string& fallback,
                                   std::size_t capacity) = 0;
    // GetPrivateProfileSectionA into a zeroed buffer of `capacity` bytes.
    virtual SectionBlock ReadSection(const std::string& path, const std::string& section,
                                     std::size_t capacity) = 0;
    // GetPrivateProfileSectionNamesA into a zeroed buffer of `capacity`
    // bytes: the name of every section of the file, in file order, with the
    // same packing and capacity - 2 answer as a section read. None from a
    // file that is missing or that Windows reads nothing from.
    virtual SectionBlock ReadSectionNames(const std::string& path, std::size_t capacity) = 0;
};

}  // namespace setup32::platform
