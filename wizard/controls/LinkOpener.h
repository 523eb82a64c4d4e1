// Every address a link control opens goes through OpenLink. The shell opens it by default; the tests put an opener
// of their own in its place and see the address without a browser starting.
#pragma once

using LinkOpener = void (*)(const char* address);

// Opens address with the shell's "open" verb: what OpenLink does unless the opener was replaced.
void ShellOpenLink(const char* address);

// Hands a non-empty address to the current opener; an empty or missing address opens nothing.
void OpenLink(const char* address);

// Puts opener in place (nullptr brings back ShellOpenLink) and returns the one it replaced. For the UI thread only.
LinkOpener SetLinkOpener(LinkOpener opener);
