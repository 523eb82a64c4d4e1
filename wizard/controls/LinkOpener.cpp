#include "wizard/controls/LinkOpener.h"

#include <windows.h>
#include <shellapi.h>

namespace {
LinkOpener g_opener = &ShellOpenLink;
}

void ShellOpenLink(const char* address)
{
    ::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenLink(const char* address)
{
    if (address && *address)
        g_opener(address);
}

LinkOpener SetLinkOpener(LinkOpener opener)
{
    const LinkOpener previous = g_opener;
    g_opener = opener ? opener : &ShellOpenLink;
    return previous;
}
