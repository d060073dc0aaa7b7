// Word pools of the GEDCOM generator (given names, surnames, places, occupations, note
// sentences) and the UTF-8 to ANSEL encoding used for ANSEL output.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kindrel::gen {

// Character set of a generated file.
enum class Charset { kUtf8, kAnsel };

// Encodes UTF-8 text as ANSEL (combining mark bytes before the base letter, special letters
// as single bytes); throws std::invalid_argument for a character ANSEL cannot express.
std::string Utf8ToAnsel(std::string_view text);

// Every pool the generator draws from, encoded once in the chosen character set.
struct Pools {
    // Builds the pools; with kAnsel every entry is converted by Utf8ToAnsel.
    explicit Pools(Charset charset);

    std::vector<std::string> maleNames;
    std::vector<std::string> femaleNames;
    std::vector<std::string> surnames;
    std::vector<std::string> places;
    std::vector<std::string> occupations;
    std::vector<std::string> residenceTypes;
    std::vector<std::string> causesOfDeath;
    std::vector<std::string> noteSentences;
    std::vector<std::string> sourceKinds;
    std::vector<std::string> archives;
};

}  // namespace kindrel::gen
