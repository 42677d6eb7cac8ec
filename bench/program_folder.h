// A program folder for the desktop benchmarks: the templates and language
// files beside a Favorites folder of synthetic shortcuts, and settings that
// name it.
#pragma once

#include <string>

namespace qv::bench {

// Makes `root`/links<links>/ holding the data files copied from
// `data_folder` and a Favorites folder of `links` shortcuts; returns the new
// folder's path with a trailing separator, or an empty text when it could not
// be written.
std::string MakeProgramFolder(const std::string& root, int links, const std::string& data_folder);

}  // namespace qv::bench
