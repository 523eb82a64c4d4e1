// Where a product key may already be written in a distribution folder: the [UserData] "ProductKey" of
// "\I386\WINNT.SIF", or the first line of "\install.txt".
#pragma once

#include <array>
#include <optional>
#include <string>

using ProductKeyGroups = std::array<std::string, 5>;

// The key text found in the file, or "" when there is none. An INI value wins; else a first line (trailing
// blanks removed) longer than 30 characters gives its first 29 characters.
std::string ReadProductKeyText(const std::string& path);

// The five groups of a key with four dashes (the last group cut to 5 characters); nothing when dashes are
// missing.
std::optional<ProductKeyGroups> SplitProductKey(const std::string& key);
