// What the builder tests share: a fixture with a markup context that parses text from guarded memory through a
// builder of its own, and gives the root and the builder's last error.
#pragma once

#include "MarkupTestSupport.h"

#include "framework/markup/MarkupUIElement.h"
#include "framework/markup/MarkupXmlReader.h"

#include <string>

namespace markup_test {

class ParseTest : public MarkupTest
{
protected:
    // The context is made after the count is taken: it holds markup objects of its own.
    void SetUp() override;
    // The context goes before the count is checked: the delegates it holds are markup objects too.
    void TearDown() override;

    // The root text parses to, one reference for the caller, or null; error gets the builder's last error. The
    // reader starts in codePage.
    COSMMarkupUIElement* Parse(const std::string& text, std::string* error = nullptr, UINT codePage = CP_ACP);
    // The builder's message for text, which must not parse.
    std::string ParseError(const std::string& text, UINT codePage = CP_ACP);

    COSMMarkupContext* context = nullptr;
};

// A brush's representative colour or a colour value's RGB; CLR_INVALID for anything else.
COLORREF ColorOf(const COSMMarkupObject* value);

}  // namespace markup_test
