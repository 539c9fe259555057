// What the fuzz targets share: a simulated machine laid out afresh for every
// input on host directories that live as long as the process, the choice of
// code page, and a check that stops the run when an invariant breaks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/sim/sim_machine.h"
#include "platform/types.h"
#include "state/context.h"

// Stops the run with the failed condition; libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace setup32::fuzz {

constexpr const char* kMedium = "A:\\";
constexpr const char* kScriptPath = "A:\\SETUP32.INI";
constexpr const char* kWindowsDir = "C:\\WINDOWS";

// The default locale of one of the three code pages the message table
// serves: 1252, 932 or 950, chosen by `choice` modulo 3.
std::uint32_t LcidOfChoice(unsigned choice);

// Checks the shape every section block keeps, whatever was read into it:
// exactly `capacity` bytes, a count of at most capacity - 2, lines that end
// inside the block, and a complete block (not too large) whose lines stay
// within `count` bytes before its final NUL.
void CheckSectionBlock(const platform::SectionBlock& block, std::size_t capacity);
// Checks that a block that fits holds exactly `expected` (its lines with
// their NULs) and nothing but NULs after it.
void CheckBlockHolds(const platform::SectionBlock& block, const std::string& expected);

// A machine for one input: drive A: (the medium, the current directory)
// and drive C: holding C:\WINDOWS, both empty, and a context bound to it
// whose language follows the locale.
class FuzzMachine {
  public:
    explicit FuzzMachine(std::uint32_t lcid);
    FuzzMachine(const FuzzMachine&) = delete;
    FuzzMachine& operator=(const FuzzMachine&) = delete;

    platform::sim::SimMachine& sim() { return sim_; }
    SetupContext& ctx() { return ctx_; }
    void WriteScript(const std::string& bytes) { sim_.WriteFile(kScriptPath, bytes); }

  private:
    platform::sim::SimMachine sim_;
    SetupContext ctx_{sim_.machine()};
};

}  // namespace setup32::fuzz
