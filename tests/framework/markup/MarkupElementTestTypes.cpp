#include "MarkupElementTestTypes.h"

#include "framework/markup/MarkupBrush.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupThickness.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupUIElementCollection.h"

#include <cstdio>

void PrintTo(const CRect& rect, std::ostream* os)
{
    *os << "(" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ")";
}

void PrintTo(const CSize& size, std::ostream* os)
{
    *os << "(" << size.cx << " x " << size.cy << ")";
}

void PrintTo(const CPoint& point, std::ostream* os)
{
    *os << "(" << point.x << ", " << point.y << ")";
}

namespace markup_test {

std::vector<std::string> g_drawLog;

IMPLEMENT_MARKUP_TYPE(CProbe, COSMMarkupPanel, nullptr, &CProbe::RegisterMarkupProperties)
IMPLEMENT_MARKUP_TYPE(CCountingBorder, COSMMarkupBorder, nullptr, nullptr)
IMPLEMENT_MARKUP_TYPE(CGrabbingProbe, CProbe, nullptr, nullptr)

COSMMarkupRoutedEvent* CProbe::s_pTestBubbleEvent = nullptr;

namespace {

std::string BrushText(const COSMMarkupBrush* brush)
{
    if (!brush)
        return "none";
    char text[16];
    std::snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(brush->GetRepresentativeColor()));
    return text;
}

std::string ThicknessText(const COSMMarkupThickness* thickness)
{
    if (!thickness)
        return "none";
    return RectText(RECT{thickness->GetLeft(), thickness->GetTop(), thickness->GetRight(), thickness->GetBottom()});
}

std::string RadiiText(const double* radii)
{
    if (!radii)
        return "none";
    std::string text;
    for (int i = 0; i < 8; ++i)
    {
        char number[32];
        std::snprintf(number, sizeof number, "%s%g", i ? "," : "", radii[i]);
        text += number;
    }
    return text;
}

}  // namespace

std::string RectText(const RECT& rect)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", static_cast<long>(rect.left), static_cast<long>(rect.top),
                  static_cast<long>(rect.right), static_cast<long>(rect.bottom));
    return text;
}

void CProbe::RegisterMarkupProperties()
{
    s_pTestBubbleEvent =
        COSMMarkupRoutedEvent::RegisterEvent(L"TestBubble", GetClassType(), COSMMarkupRoutedEvent::Bubble);
}

CSize CProbe::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    ++measures;
    measuredWith = CSize(availableWidth, availableHeight);
    if (onMeasure)
        onMeasure(dc);
    for (int i = 0; i < GetChildren()->GetCount(); ++i)
    {
        if (COSMMarkupUIElement* child = GetChildren()->GetElement(i))
            child->Measure(dc, availableWidth, availableHeight);
    }
    return contentSize;
}

CSize CProbe::ArrangeOverride(int width, int height)
{
    ++arranges;
    for (int i = 0; i < GetChildren()->GetCount(); ++i)
    {
        if (CProbe* child = MarkupDynamicCast<CProbe>(GetChildren()->GetItem(i)))
        {
            const CSize size = child->GetDesiredSize();
            child->Arrange(child->placement.x, child->placement.y, child->placement.x + size.cx,
                           child->placement.y + size.cy);
        }
    }
    return CSize(width, height);
}

void CProbe::OnRender(COSMMarkupDrawingContext* dc)
{
    g_drawLog.push_back("render " + name);
}

void CProbe::OnRenderFocusVisual(COSMMarkupDrawingContext* dc)
{
    g_drawLog.push_back("focus " + name);
}

COSMMarkupInputElement* CProbe::InputHitTestCore(int x, int y)
{
    return this;
}

CProbe* CProbe::AddProbe(CProbe* child, int x, int y)
{
    child->placement = CPoint(x, y);
    GetChildren()->Add(child);
    return child;
}

void CGrabbingProbe::OnMouseLeftButtonDown(COSMMarkupMouseEventArgs* args)
{
    CProbe::OnMouseLeftButtonDown(args);
    CaptureMouse();
    args->handled = true;
}

void CGrabbingProbe::OnMouseLeftButtonUp(COSMMarkupMouseEventArgs* args)
{
    CProbe::OnMouseLeftButtonUp(args);
    ++releases;
    ReleaseMouseCapture();
    args->handled = true;
}

void CGrabbingProbe::OnMouseMove(COSMMarkupMouseEventArgs* args)
{
    CProbe::OnMouseMove(args);
    moves.emplace_back(args->x, args->y);
}

void CGrabbingProbe::OnMouseWheel(COSMMarkupMouseWheelEventArgs* args)
{
    CProbe::OnMouseWheel(args);
    ++wheels;
    lastDelta = args->delta;
    if (handlesWheel)
        args->handled = true;
}

CSize CCountingBorder::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    ++measures;
    return COSMMarkupBorder::MeasureOverride(dc, availableWidth, availableHeight);
}

CSize CCountingBorder::ArrangeOverride(int width, int height)
{
    ++arranges;
    return COSMMarkupBorder::ArrangeOverride(width, height);
}

void SetFromText(COSMMarkupBuilder* builder, COSMMarkupObject* object, COSMMarkupDependencyProperty* property,
                 LPCWSTR text)
{
    object->SetPropertyObject(builder, property, COSMMarkupString::CreateValue(text, -1));
}

COSMMarkupBorder* AddPlacedBorder(COSMMarkupBuilder* builder, COSMMarkupContext* context,
                                  COSMMarkupSingleChildElement* page)
{
    COSMMarkupBorder* border = static_cast<COSMMarkupBorder*>(context->CreateObject(COSMMarkupBorder::GetClassType()));
    page->SetChild(border);
    SetFromText(builder, border, COSMMarkupFrameworkElement::s_pWidthProperty, L"30");
    SetFromText(builder, border, COSMMarkupFrameworkElement::s_pHeightProperty, L"40");
    SetFromText(builder, border, COSMMarkupFrameworkElement::s_pMarginProperty, L"10,20,0,0");
    SetFromText(builder, border, COSMMarkupFrameworkElement::s_pHorizontalAlignmentProperty, L"Left");
    SetFromText(builder, border, COSMMarkupFrameworkElement::s_pVerticalAlignmentProperty, L"Top");
    return border;
}

CRecordingContext::~CRecordingContext()
{
    if (destroyed)
        *destroyed = true;
}

void CRecordingContext::InvalidateVisual(COSMMarkupObject* element)
{
    invalidated.push_back(element);
    COSMMarkupContext::InvalidateVisual(element);
}

void CRecordingContext::OnDesiredSizeChanged(COSMMarkupObject* element)
{
    sizeChanged.push_back(element);
    COSMMarkupContext::OnDesiredSizeChanged(element);
}

CRecordingRenderer::Nesting CRecordingRenderer::Log(const std::string& entry)
{
    m_pLog->push_back(std::string(static_cast<size_t>(m_depth) * 2, ' ') + entry);
    return Nesting(&m_depth);
}

std::vector<std::string> TopLevelCalls(const std::vector<std::string>& log)
{
    std::vector<std::string> calls;
    for (const std::string& entry : log)
    {
        if (!entry.empty() && entry[0] != ' ')
            calls.push_back(entry);
    }
    return calls;
}

void CRecordingRenderer::OffsetViewport(POINT point)
{
    const Nesting nesting = Log("offset " + std::to_string(point.x) + "," + std::to_string(point.y));
    COSMMarkupDeviceContext::OffsetViewport(point);
}

void CRecordingRenderer::DrawFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness)
{
    const Nesting nesting = Log("frame " + RectText(rect) + " " + BrushText(brush) + " " + ThicknessText(thickness));
    COSMMarkupDeviceContext::DrawFrame(rect, brush, thickness);
}

void CRecordingRenderer::FillRectangle(RECT rect, COSMMarkupBrush* brush)
{
    const Nesting nesting = Log("fill " + RectText(rect) + " " + BrushText(brush));
    COSMMarkupDeviceContext::FillRectangle(rect, brush);
}

void CRecordingRenderer::FillRoundedRectangle(RECT rect, COSMMarkupBrush* brush, const double* radii)
{
    const Nesting nesting = Log("rounded fill " + RectText(rect) + " " + BrushText(brush) + " " + RadiiText(radii));
    COSMMarkupDeviceContext::FillRoundedRectangle(rect, brush, radii);
}

void CRecordingRenderer::DrawRoundedFrame(RECT rect, COSMMarkupBrush* brush, const COSMMarkupThickness* thickness,
                                          const double* radii)
{
    const Nesting nesting = Log("rounded frame " + RectText(rect) + " " + BrushText(brush) + " " +
                                ThicknessText(thickness) + " " + RadiiText(radii));
    COSMMarkupDeviceContext::DrawRoundedFrame(rect, brush, thickness, radii);
}

void CRecordingRenderer::IntersectClipRect(const RECT* rect)
{
    const Nesting nesting = Log("clip " + RectText(*rect));
    COSMMarkupDeviceContext::IntersectClipRect(rect);
}

HRGN CRecordingRenderer::SaveClipRegion()
{
    const Nesting nesting = Log("save clip");
    return COSMMarkupDeviceContext::SaveClipRegion();
}

void CRecordingRenderer::RestoreClipRegion(HRGN saved)
{
    const Nesting nesting = Log("restore clip");
    COSMMarkupDeviceContext::RestoreClipRegion(saved);
}

}  // namespace markup_test
