#include "MessageRecorder.h"

#include <gtest/gtest.h>

MessageRecorder* MessageRecorder::s_current = nullptr;

namespace {

int RefuseMessage(HWND, const char* text, const char* caption, UINT)
{
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
    return IDOK;
}

// No test may ever wait for a real box.
class NoMessageBoxes : public testing::Environment
{
public:
    void SetUp() override { SetUserMessageHandler(RefuseMessage); }
};

[[maybe_unused]] testing::Environment* const g_noMessageBoxes = testing::AddGlobalTestEnvironment(new NoMessageBoxes);

}  // namespace

MessageRecorder::MessageRecorder() : m_previous(SetUserMessageHandler(Record))
{
    s_current = this;
}

MessageRecorder::~MessageRecorder()
{
    s_current = nullptr;
    SetUserMessageHandler(m_previous);
}

int MessageRecorder::Record(HWND owner, const char* text, const char* caption, UINT type)
{
    s_current->m_messages.push_back({owner, text ? text : "", caption ? caption : "", type});
    return IDOK;
}
