// UserMessage: the one door through which the wizard's writers show a message box.
//
// Every writer calls ShowUserMessage instead of MessageBoxA, so the owner, text, caption and icon of each message
// are decided in one visible place and a test can take the box's place with its own handler.
#pragma once

#include <windows.h>

// Shows the message (through the current handler) and gives the pressed button's id, as MessageBoxA does.
int ShowUserMessage(HWND owner, const char* text, const char* caption, UINT type);

// A replacement for the box: receives exactly what MessageBoxA would have received.
using UserMessageHandler = int (*)(HWND owner, const char* text, const char* caption, UINT type);

// Installs a handler (nullptr restores the real message box) and gives the previous one back.
UserMessageHandler SetUserMessageHandler(UserMessageHandler handler);
