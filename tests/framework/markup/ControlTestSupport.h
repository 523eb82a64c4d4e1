// What the control and image tests share: a parse fixture that lays a tree out headless, finds elements by name and
// binds delegates that log routed events, and buttons made to draw classic (the part recorder is
// PartDrawingTestSupport.h's).
#pragma once

#include "MarkupElementTestTypes.h"
#include "ParseTestSupport.h"
#include "PartDrawingTestSupport.h"
#include "ReaderTestSupport.h"

#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElement.h"

#include <cwchar>
#include <string>
#include <vector>

namespace markup_test {

// Buttons made while it lives open their theme data through a visual-style library that does not exist, so they
// draw classic whatever the system's theme.
class ClassicButtons
{
public:
    ClassicButtons();
    ~ClassicButtons();
    ClassicButtons(const ClassicButtons&) = delete;
    ClassicButtons& operator=(const ClassicButtons&) = delete;

private:
    COSMVisualStyleFunctions m_missing;
    COSMVisualStyleFunctions* m_previous;
};

class ControlTest : public ParseTest
{
protected:
    // Parses text (which must parse) and lays the root out at (width, height).
    COSMMarkupUIElement* Build(const std::string& text, int width = 200, int height = 100);
    // The logical descendant of root (or root) whose Name is name, as a T; borrowed, null when missing.
    template <class T> static T* FindAs(COSMMarkupObject* root, LPCWSTR name)
    {
        return MarkupDynamicCast<T>(FindNamed(root, name));
    }
    // A delegate that appends "<event>:<sender's Name>" to log.
    static COSMMarkupDelegate* MakeLogger(std::vector<std::string>* log);
    // Binds a delegate named name that appends "<event>:<sender name>" to log.
    void LogEvents(LPCWSTR name, std::vector<std::string>* log);
    // Measures and arranges root at (width, height) again.
    static void Layout(COSMMarkupObject* root, int width, int height);
};

}  // namespace markup_test
