#include "ControlTestSupport.h"
#include "MarkupTestSupport.h"

#include "framework/markup/MarkupButtonBase.h"
#include "framework/markup/MarkupRoutedEvent.h"

namespace markup_test {

ClassicButtons::ClassicButtons()
    : m_missing("osmira-no-such-uxtheme.dll", TRUE, 0x60000),
      m_previous(COSMMarkupButtonBase::SetVisualStyleFunctions(&m_missing))
{}

ClassicButtons::~ClassicButtons()
{
    COSMMarkupButtonBase::SetVisualStyleFunctions(m_previous);
}

COSMMarkupUIElement* ControlTest::Build(const std::string& text, int width, int height)
{
    std::string error;
    COSMMarkupUIElement* root = Parse(text, &error);
    EXPECT_NE(root, nullptr) << error;
    if (root)
        Layout(root, width, height);
    return root;
}

void ControlTest::Layout(COSMMarkupObject* object, int width, int height)
{
    COSMMarkupUIElement* root = MarkupDynamicCast<COSMMarkupUIElement>(object);
    ASSERT_NE(root, nullptr);
    COSMMarkupDrawingContext measuring(COSMMarkupDrawingContext::CreateMeasuringContext);
    root->Measure(&measuring, width, height);
    root->Arrange(0, 0, width, height);
}

COSMMarkupDelegate* ControlTest::MakeLogger(std::vector<std::string>* log)
{
    return new COSMMarkupFunctionDelegate([log](COSMMarkupInputElement* sender, COSMMarkupRoutedEventArgs* args) {
        const COSMMarkupString* senderName =
            MarkupDynamicCast<COSMMarkupString>(sender->GetValue(COSMMarkupObject::s_pNameProperty));
        log->push_back(Utf8(args->event->GetName()) + ":" + Utf8(senderName ? senderName->GetText() : L"?"));
    });
}

void ControlTest::LogEvents(LPCWSTR name, std::vector<std::string>* log)
{
    context->AddDelegate(name, MakeLogger(log));
}

}  // namespace markup_test
