// What the element tests build with: a probe element of a set size that counts its passes and logs its drawing, a
// border that counts its passes, a markup context that records what it is asked to invalidate, and a renderer that
// records every call it gets (and still draws, so pixels can be read back too).
#pragma once

#include "framework/markup/MarkupBorder.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupDeviceContext.h"
#include "framework/markup/MarkupPanel.h"
#include "framework/markup/MarkupRoutedEvent.h"
#include "platform/classlib/RefPtr.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// How GoogleTest shows the geometry of a failed comparison.
void PrintTo(const CRect& rect, std::ostream* os);
void PrintTo(const CSize& size, std::ostream* os);
void PrintTo(const CPoint& point, std::ostream* os);

namespace markup_test {

// A new object of class T made by context (so it belongs to it), one reference for the holder.
template <class T> RefPtr<T> MakeIn(COSMMarkupContext* context)
{
    return AdoptRef(static_cast<T*>(context->CreateObject(T::GetClassType())));
}

// Sets property from markup text, as the builder would (conversion included).
void SetFromText(COSMMarkupBuilder* builder, COSMMarkupObject* object, COSMMarkupDependencyProperty* property,
                 LPCWSTR text);

// Gives page a border made by context, 30 × 40, aligned left and top with a margin of (10, 20, 0, 0); returns it.
COSMMarkupBorder* AddPlacedBorder(COSMMarkupBuilder* builder, COSMMarkupContext* context,
                                  COSMMarkupSingleChildElement* page);

// What the probes drew, in order: "render <name>" and "focus <name>".
extern std::vector<std::string> g_drawLog;

// A panel of a set content size that counts MeasureOverride and ArrangeOverride, logs OnRender and
// OnRenderFocusVisual, and is hit wherever it lies. Its children are measured with the room it gets and arranged at
// their placement with their desired size.
class CProbe : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(CProbe)

public:
    CProbe() = default;

    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;
    void OnRender(COSMMarkupDrawingContext* dc) override;
    void OnRenderFocusVisual(COSMMarkupDrawingContext* dc) override;
    COSMMarkupInputElement* InputHitTestCore(int x, int y) override;

    // Adds child (taking over the reference), to be placed at (x, y) in this probe; returns it.
    CProbe* AddProbe(CProbe* child, int x = 0, int y = 0);

    std::string name;
    CSize contentSize{0, 0};
    CPoint placement{0, 0};
    int measures = 0;
    int arranges = 0;
    // The room of the last MeasureOverride.
    CSize measuredWith{0, 0};
    // Called at the start of every MeasureOverride when set: a look at the measure while it runs.
    std::function<void(COSMMarkupDrawingContext*)> onMeasure;

    // A bubbling event of the probes, for the routing tests.
    static COSMMarkupRoutedEvent* s_pTestBubbleEvent;
    static void RegisterMarkupProperties();
};

// A probe that takes the mouse capture when the left button goes down on it and gives it back when the button comes
// up, as a button does; it records the moves it hears, counts its releases and wheel turns, and marks the wheel
// handled when told to.
class CGrabbingProbe : public CProbe
{
    DECLARE_MARKUP_TYPE(CGrabbingProbe)

public:
    CGrabbingProbe() = default;

    void OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args) override;
    void OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args) override;
    void OnMouseMove(COSMMarkupMouseEventArgs* args) override;
    void OnMouseWheel(COSMMarkupMouseWheelEventArgs* args) override;

    std::vector<CPoint> moves;
    int releases = 0;
    int wheels = 0;
    int lastDelta = 0;
    bool handlesWheel = false;
};

// A border that counts its passes.
class CCountingBorder : public COSMMarkupBorder
{
    DECLARE_MARKUP_TYPE(CCountingBorder)

public:
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    int measures = 0;
    int arranges = 0;
};

// A context that records the elements it is asked to repaint and whose desired size changed (then does what a
// context does).
class CRecordingContext : public COSMMarkupContext
{
public:
    using COSMMarkupContext::COSMMarkupContext;

    void InvalidateVisual(COSMMarkupObject* element) override;
    void OnDesiredSizeChanged(COSMMarkupObject* element) override;

    std::vector<COSMMarkupObject*> invalidated;
    std::vector<COSMMarkupObject*> sizeChanged;
    // Set when the context is deleted.
    bool* destroyed = nullptr;

protected:
    ~CRecordingContext() override;
};

// A renderer that writes each call into a log the test owns (the drawing context owns the renderer), then draws.
// Rectangles read "l,t,r,b", brushes their colour as six hex digits, radii as eight numbers; a call the renderer
// makes on itself is indented by two spaces for each call it runs within.
class CRecordingRenderer : public COSMMarkupDeviceContext
{
public:
    CRecordingRenderer(HDC dc, std::vector<std::string>* log) : COSMMarkupDeviceContext(dc, nullptr), m_pLog(log) {}
    // With given extents instead of the DC's.
    CRecordingRenderer(HDC dc, SIZE windowExt, SIZE viewportExt, std::vector<std::string>* log)
        : COSMMarkupDeviceContext(dc, nullptr, windowExt, viewportExt), m_pLog(log)
    {}

    void OffsetViewport(POINT point) override;
    void DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness) override;
    void FillRectangle(RECT rect, COSMMarkupBrush* brush) override;
    void FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii) override;
    void DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                          const double* radii) override;
    void IntersectClipRect(const RECT* rect) override;
    HRGN SaveClipRegion() override;
    void RestoreClipRegion(HRGN saved) override;

private:
    // Logs entry at the current depth and counts one level deeper until the returned guard goes.
    struct Nesting
    {
        explicit Nesting(int* depth) : m_depth(depth) { ++*m_depth; }
        ~Nesting() { --*m_depth; }
        int* m_depth;
    };
    Nesting Log(const std::string& entry);

    std::vector<std::string>* m_pLog;
    int m_depth = 0;
};

// The entries of a renderer's log that the drawing context asked for itself (not indented).
std::vector<std::string> TopLevelCalls(const std::vector<std::string>& log);

std::string RectText(const RECT& rect);

}  // namespace markup_test
