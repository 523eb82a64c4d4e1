// MessageRecorder: takes the place of the writers' message box while it lives and keeps what each box would have
// shown. Outside a recorder's life any message fails the running test (and no box waits for a click).
#pragma once

#include "wizard/UserMessage.h"

#include <string>
#include <vector>

struct RecordedMessage
{
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& Messages() const { return m_messages; }

private:
    static int Record(HWND owner, const char* text, const char* caption, UINT type);

    static MessageRecorder* s_current;
    std::vector<RecordedMessage> m_messages;
    UserMessageHandler m_previous;
};
