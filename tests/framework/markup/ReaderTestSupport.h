// What the reader's tests share: the reader's tokens written out as short readable lines, over text that ends where
// readable memory ends.
#pragma once

#include "GuardedText.h"

#include "framework/markup/MarkupXmlReader.h"

#include <string>
#include <vector>

namespace markup_test {

// UTF-16 units as UTF-8 (a lone surrogate as U+FFFD), for messages and comparisons.
std::string Utf8(const WCHAR* text, size_t length);
std::string Utf8(const WCHAR* text);

// One token as a line: "start a", "end-tag a", "attr x=1", "text a", "space  ", "chunk ...", "comment", "/comment",
// "cdata", "/cdata", "pi", "/pi <last chunk>", "error <message>", "end"; with positions, " @line:column" (1-based)
// follows.
std::string DescribeToken(const COSMMarkupXmlReader& reader, int token, bool withPosition);

// Every token of text up to and including the end or the first error (at most limit tokens).
std::vector<std::string> ReadTokens(COSMMarkupXmlReader& reader, bool withPosition, size_t limit = 100000);

// The same for 8-bit text read in codePage from guarded memory.
std::vector<std::string> ReadTokens(const std::string& bytes, UINT codePage, bool withPosition);

}  // namespace markup_test
