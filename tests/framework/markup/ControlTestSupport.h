// What the control and image tests share: a parse fixture that lays a tree out headless, finds elements by name,
// records the parts the buttons ask the part-drawing table for, and binds delegates that log routed events.
#pragma once

#include "MarkupElementTestTypes.h"
#include "ParseTestSupport.h"

#include "framework/foundation/VisualStyleWrapper.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupPartDrawing.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElement.h"

#include <cwchar>
#include <string>
#include <vector>

namespace markup_test {

// One call the part-drawing table received: a visual-style part and state, or frame-control type and flags.
struct PartCall
{
    bool themed;
    int part;
    int state;
    CRect rect;
};

// Replaces the part-drawing table with one that records every call (and draws nothing) for its life.
class PartRecorder
{
public:
    PartRecorder() : m_previous(SetMarkupPartDrawing({&RecordTheme, &RecordFrame})) { Calls().clear(); }
    ~PartRecorder() { SetMarkupPartDrawing(m_previous); }
    PartRecorder(const PartRecorder&) = delete;
    PartRecorder& operator=(const PartRecorder&) = delete;

    static std::vector<PartCall>& Calls()
    {
        static std::vector<PartCall> calls;
        return calls;
    }

private:
    static HRESULT RecordTheme(COSMVisualStyleWrapper&, HDC, int part, int state, const RECT* rect)
    {
        Calls().push_back({true, part, state, *rect});
        return S_OK;
    }
    static BOOL RecordFrame(HDC, RECT* rect, UINT type, UINT state)
    {
        Calls().push_back({false, static_cast<int>(type), static_cast<int>(state), *rect});
        return TRUE;
    }

    COSMMarkupPartDrawing m_previous;
};

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
    // The logical descendant of root (or root) whose Name is name; borrowed, null when missing.
    static COSMMarkupObject* Find(COSMMarkupObject* root, LPCWSTR name);
    template <class T>
    static T* FindAs(COSMMarkupObject* root, LPCWSTR name)
    {
        return MarkupDynamicCast<T>(Find(root, name));
    }
    // A delegate that appends "<event>:<sender's Name>" to log.
    static COSMMarkupDelegate* MakeLogger(std::vector<std::string>* log);
    // Binds a delegate named name that appends "<event>:<sender name>" to log.
    void LogEvents(LPCWSTR name, std::vector<std::string>* log);
    // Measures and arranges root at (width, height) again.
    static void Layout(COSMMarkupObject* root, int width, int height);
};

// The tag name of an event and the Name of an element, as narrow text.
std::string Narrow(LPCWSTR text);

}  // namespace markup_test
