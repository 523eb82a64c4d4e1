#include "wizard/UserMessage.h"

namespace {

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}

// Only the user-interface thread shows messages, so a plain pointer suffices.
UserMessageHandler g_handler = ShowMessageBox;

}  // namespace

int ShowUserMessage(HWND owner, const char* text, const char* caption, UINT type)
{
    return g_handler(owner, text, caption, type);
}

UserMessageHandler SetUserMessageHandler(UserMessageHandler handler)
{
    UserMessageHandler previous = g_handler;
    g_handler = handler ? handler : ShowMessageBox;
    return previous;
}
