// The templates and language files the program comes with, for the tests
// built with VORLINDO_DATA_FOLDER naming the folder that holds them.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace qv::testing {

inline constexpr const char* kProgramDataFiles[] = {"koptekst.txt", "voettekst.txt", "nl.txt",
                                                    "uk.txt"};

// Copies them into the folder `relative` of `folder` ("" for the folder
// itself, else ending in "/"), where a run made there takes them.
inline void CopyProgramData(const TempFolder& folder, const std::string& relative = "") {
  for (const char* name : kProgramDataFiles) {
    std::ifstream file(std::string(VORLINDO_DATA_FOLDER) + "/" + name, std::ios::binary);
    folder.WriteFile(relative + name, std::string(std::istreambuf_iterator<char>(file), {}));
  }
}

}  // namespace qv::testing
