// The folders the page names (distribution, kit, image): whether the text names an existing folder, and the
// one spelling the writers join file names to.
//
// A user may type "E:\" (a stick holding the copied disc) or "D:\DISTR\"; both are folders, and names joined
// to them must not get a second backslash.
#pragma once

#include <string>

// The exact text names an existing folder: a drive root and a trailing backslash are accepted, wildcards,
// files and missing paths are not.
bool IsExistingFolder(const char* path);

// The folder without trailing separators ("E:\" gives "E:", "D:\DISTR\" gives "D:\DISTR"), so that
// folder + "\name" is always a well-formed path.
std::string FolderForJoining(const std::string& folder);

// folder + "\" + name, with exactly one backslash between them.
std::string JoinPath(const std::string& folder, const std::string& name);
