// The Office 2007 look: the Office 2003 drawing, its colours from the resources' theme text, and the status bar,
// message bar and workspace from those colours and the resources' images.
#include "framework/themes/Office2007Theme.h"

#include "classlib/ScopedHandle.h"
#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/StatusBar.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/ShadowManager.h"
#include "framework/themes/Office2007Images.h"
#include "framework/themes/Office2007PartPainters.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(COSMOffice2007Theme, COSMOffice2003Theme)

namespace {

const COLORREF kOffice2007White = RGB(255, 255, 255);
const COLORREF kOffice2007Magenta = RGB(255, 0, 255);
// The colour-table entries the look draws with.
const int kOffice2007Separator = 39;
const int kOffice2007HotFill = 31;
const int kOffice2007HotFrame = 32;
const int kOffice2007PressedFill = 33;
const int kOffice2007PressedFrame = 50;

// A solid rectangle, or nothing for a colour the theme text does not give.
void FillOffice2007Rect(CDC* dc, const CRect& rect, COLORREF color)
{
    if (color != COSMPaintManagerColor::kNone && !rect.IsRectEmpty())
        dc->FillSolidRect(rect, color);
}

CRect Office2007ClientRect(CWnd* window)
{
    CRect client(0, 0, 0, 0);
    if (window && window->GetSafeHwnd())
        ::GetClientRect(window->GetSafeHwnd(), &client);
    return client;
}

}  // namespace

COSMOffice2007Theme::COSMOffice2007Theme()
{
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetFlags(3);
    SetVisualStyleSelection(0);
    m_themedStatusBar = TRUE;
    // Captions measured one line high get 8 pixels of room after them, not 10.
    m_captionSpacingOption = TRUE;
    SetPartPaintManagers(new COSMOffice2007GalleryPaintManager(this), new COSMOffice2007SliderPaintManager(this),
                         new COSMOffice2007ProgressPaintManager(this));
    m_images = COSMOffice2007Images::Instance();
}

COSMOffice2007Theme::~COSMOffice2007Theme()
{
    // The process's paint manager goes at exit before the images do; a look released after them finds none and has
    // nothing to clear.
    if (COSMOffice2007Images* images = COSMOffice2007Images::LiveInstance())
        images->ClearCache();
}

COSMOffice2007Image* COSMOffice2007Theme::LoadImage(LPCSTR name)
{
    return m_images ? m_images->LoadImage(name) : nullptr;
}

COLORREF COSMOffice2007Theme::GetStateTextColor(BOOL selected, BOOL pressed, BOOL enabled, BOOL checked, BOOL popped,
                                                int barType, int barPosition)
{
    if (barType == 0 && enabled && !selected && !pressed && !checked && !popped)
        return MenuBarTextColor;
    return COSMOffice2003Theme::GetStateTextColor(selected, pressed, enabled, checked, popped, barType, barPosition);
}

// ---- Refresh ----

void COSMOffice2007Theme::RefreshMetrics()
{
    COSMOffice2003Theme::RefreshMetrics();
    COSMOffice2007Images* images = m_images;
    auto read = [images](LPCSTR section, LPCSTR key) {
        return images ? images->GetImageColor(section, key) : COSMPaintManagerColor::kNone;
    };
    // A gradient's second key is read first; the first key gives its first colour.
    auto readGradient = [&read](COSMPaintManagerColorGradient& gradient, LPCSTR section, LPCSTR first, LPCSTR second,
                                float factor) {
        const COLORREF secondColor = read(section, second);
        const COLORREF firstColor = read(section, first);
        gradient.SetStandardColors(firstColor, secondColor, factor);
    };
    auto readEntry = [this, &read](int index, LPCSTR section, LPCSTR key) {
        GetColorEntry(index).SetStandardValue(read(section, key));
    };
    auto setEntry = [this](int index, COLORREF color) { GetColorEntry(index).SetStandardValue(color); };

    SetStatusBarTextColor(read("StatusBar", "StatusBarText"));
    StatusBarShadowColor = read("StatusBar", "StatusBarShadow");
    readGradient(StatusBarTopGradient, "StatusBar", "StatusBarFaceTopLight", "StatusBarFaceTopDark", 0.5f);
    readGradient(StatusBarBottomGradient, "StatusBar", "StatusBarFaceBottomLight", "StatusBarFaceBottomDark", 0.5f);
    DockBarGradient.SetStandardColor(read("Toolbar", "DockBarFace"));
    readGradient(ToolbarGradient, "Toolbar", "ToolbarFaceLight", "ToolbarFaceDark", 0.75f);
    ToolbarShadowColor.SetStandardValue(read("Toolbar", "ToolbarFaceShadow"));
    readGradient(ExpandButtonGradient, "Toolbar", "ControlToolbarExpandLight", "ControlToolbarExpandDark", 0.75f);
    readGradient(PoppedGradient, "Toolbar", "ControlHighlightPopupedLight", "ControlHighlightPopupedDark", 0.5f);
    readGradient(PopupBarGripperHiddenGradient, "Toolbar", "MenuPopupGripperLight", "MenuPopupGripperDark", 0.5f);
    readGradient(PopupBarGripperGradient, "Toolbar", "MenuPopupExpandedGripperLight", "MenuPopupExpandedGripperDark",
                 0.5f);
    // Both colours with their custom values, and the factor.
    GlyphGradient = PoppedGradient;
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetShadowColor(0);
    TearOffGripperColor.SetStandardValue(read("Toolbar", "MenuPopupTearOffGripper"));
    MenuBarTextColor = read("Toolbar", "MenuBarText");
    setEntry(41, RGB(246, 246, 246));
    readEntry(43, "Toolbar", "MenuPopupBorder");
    readEntry(38, "Toolbar", "ToolbarGripper");
    for (int index : {44, 45, 46})
        setEntry(index, 0);
    for (int index : {60, 58, 35})
        setEntry(index, RGB(141, 141, 141));
    readEntry(54, "Window", "WindowFrame");
    GetFloatingCaptionColor().SetStandardValue(read("Toolbar", "FloatingBarGripper"));
    GetFloatingCaptionTextColor().SetStandardValue(read("Toolbar", "FloatingBarGripperText"));
    readEntry(61, "Toolbar", "FloatingBarBorder");
    readEntry(COLOR_APPWORKSPACE, "Workspace", "AppWorkspace");
    readEntry(51, "Window", "ButtonFace");
    setEntry(52, ToolbarShadowColor.GetEffective());
    readEntry(30, "Toolbar", "ToolbarFace");
    readEntry(kOffice2007Separator, "Toolbar", "ToolbarSeparator");
    readEntry(40, "Toolbar", "ControlDisabledIcon");
    WorkspaceTopColor = read("Workspace", "WorkspaceClientTop");
    WorkspaceMiddleColor = read("Workspace", "WorkspaceClientMiddle");
    WorkspaceBottomColor = read("Workspace", "WorkspaceClientBottom");
    readEntry(kOffice2007HotFill, "Window", "HighlightSelected");
    readEntry(kOffice2007HotFrame, "Window", "HighlightSelectedBorder");
    readEntry(kOffice2007PressedFill, "Window", "HighlightPressed");
    readEntry(kOffice2007PressedFrame, "Window", "HighlightPressedBorder");
    readEntry(36, "Window", "HighlightChecked");
    readEntry(37, "Window", "HighlightCheckedBorder");
    setEntry(47, 0);
    LunaColors = TRUE;
    readGradient(HighlightGradient, "Window", "HighlightSelectedLight", "HighlightSelectedDark", 0.5f);
    readGradient(CheckedGradient, "Window", "HighlightCheckedLight", "HighlightCheckedDark", 0.5f);
    readGradient(PushedGradient, "Window", "HighlightPressedLight", "HighlightPressedDark", 0.5f);
    readEntry(56, "Toolbar", "ControlLabel");
    readEntry(53, "Toolbar", "ControlEditBorder");
    readGradient(m_disabledIconGradient, "Toolbar", "ControlDisabledIconLight", "ControlDisabledIconDark", 0.5f);
    readGradient(MessageBarGradient, "MessageBar", "MessageBarLight", "MessageBarDark", 0.5f);
    MessageBarFrameColor = read("MessageBar", "MessageBarFrame");
    SetMessageBarTextColor(read("MessageBar", "MessageBarText"));
    MessageBarBackColor = read("MessageBar", "MessageBar");

    // The Office 2003 refresh's closing step: the popup expand button's knob in the new colours.
    CreateGlyphImages();
}

// ---- Surfaces ----

void COSMOffice2007Theme::FillVerticalGradient(CDC* dc, const CRect& rect,
                                               const COSMPaintManagerColorGradient& gradient)
{
    if (rect.IsRectEmpty() || gradient.First().GetEffective() == COSMPaintManagerColor::kNone ||
        gradient.Second().GetEffective() == COSMPaintManagerColor::kNone)
        return;
    GetDrawHelpers()->GradientFillTwoPart(dc, rect, gradient, FALSE, nullptr);
}

void COSMOffice2007Theme::FillStatusBar(CDC* dc, COSMStatusBar* bar)
{
    const CRect r = Office2007ClientRect(bar);
    FillOffice2007Rect(dc, CRect(r.left, r.top, r.right, r.top + 1), StatusBarShadowColor);
    FillVerticalGradient(dc, CRect(r.left, r.top + 1, r.right, r.top + 9), StatusBarTopGradient);
    FillVerticalGradient(dc, CRect(r.left, r.top + 9, r.right, r.bottom), StatusBarBottomGradient);
}

void COSMOffice2007Theme::DrawStatusBarPaneBorder(CDC* dc, CRect rect, COSMStatusBarPane* /*pane*/, BOOL lastPane)
{
    if (lastPane)
        return;
    const int height = rect.Height() - 2;
    if (height <= 0)
        return;
    FillOffice2007Rect(dc, CRect(rect.right - 1, rect.top, rect.right, rect.top + height),
                       GetColor(kOffice2007Separator));
    FillOffice2007Rect(dc, CRect(rect.right, rect.top, rect.right + 1, rect.top + height), kOffice2007White);
}

void COSMOffice2007Theme::DrawStatusBarGripper(CDC* dc, CRect client)
{
    const COLORREF dot = GetColor(kOffice2007Separator);
    for (int row = 0; row < 3; ++row)
    {
        for (int column = 0; column <= 2 - row; ++column)
        {
            const int x = client.right - 2 - 4 * column;
            const int y = client.bottom - 2 - 4 * row;
            FillOffice2007Rect(dc, CRect(x, y, x + 2, y + 2), kOffice2007White);
            FillOffice2007Rect(dc, CRect(x - 1, y - 1, x + 1, y + 1), dot);
        }
    }
}

void COSMOffice2007Theme::FillMessageBar(CDC* dc, COSMMessageBar* bar)
{
    FillOffice2007Rect(dc, Office2007ClientRect(bar), MessageBarBackColor);
    CRect inner;
    COSMMessageBar::GetInnerRect(bar, &inner);
    if (MessageBarFrameColor != COSMPaintManagerColor::kNone && !inner.IsRectEmpty())
        dc->Draw3dRect(inner, MessageBarFrameColor, MessageBarFrameColor);
    inner.DeflateRect(1, 1);
    FillVerticalGradient(dc, inner, MessageBarGradient);
}

void COSMOffice2007Theme::DrawMessageBarButton(CDC* dc, COSMMessageBarButton* button)
{
    const CRect r = button->rect;
    const BOOL close = button->id == kCloseCommand;
    auto framed = [dc, &r](COLORREF fill, COLORREF frame) {
        FillOffice2007Rect(dc, r, fill);
        if (frame != COSMPaintManagerColor::kNone)
            dc->Draw3dRect(r, frame, frame);
    };
    if (close && button->pressed)
        framed(GetColor(kOffice2007PressedFill), GetColor(kOffice2007PressedFrame));
    else if (button->hot)
        framed(GetColor(kOffice2007HotFill), GetColor(kOffice2007HotFrame));
    else if (!close)
        framed(kOffice2007White, MessageBarFrameColor);
    if (!close)
        return;

    COSMOffice2007Image* glyph = LoadImage("FRAMECAPTIONCLOSE17");
    if (!glyph)
        return;
    const CRect source = glyph->GetStateRect(0, 5);
    const int left = (r.left + r.right - source.Width()) / 2;
    const int top = (r.top + r.bottom - source.Height()) / 2;
    glyph->DrawImage(dc, CRect(left, top, left + source.Width(), top + source.Height()), source, CRect(0, 0, 0, 0),
                     kOffice2007Magenta);
}

void COSMOffice2007Theme::FillWorkspace(CDC* dc, CRect rect, CRect exclude)
{
    // Clipped to the area within the caller's own region; the caller's region holds again afterwards.
    const ScopedClipRegion keeper = KeepClipRegion(dc->GetSafeHdc());
    dc->IntersectClipRect(rect);
    if (!exclude.IsRectEmpty())
        dc->ExcludeClipRect(exclude);

    COSMOffice2007Image* picture = LoadImage("WORKSPACETOPLEFT");
    if (!picture)
        return;
    const CRect source = picture->GetStateRect(0, 1);
    const int pictureHeight = source.Height();
    const CRect top(rect.left, rect.top, rect.left + std::max(rect.Width(), source.Width()), rect.top + pictureHeight);
    // The picture stands unstretched at the left; its last column runs on to the right edge.
    picture->DrawImagePart(dc, top, source, CRect(source.Width() - 1, 0, 0, 0));

    const int bandTop = rect.top + pictureHeight;
    const int height = rect.bottom - bandTop;
    if (height <= 0)
        return;
    const int split = bandTop + height * 2 / 3;
    auto gradient = [dc](const CRect& band, COLORREF from, COLORREF to) {
        if (!band.IsRectEmpty() && from != COSMPaintManagerColor::kNone && to != COSMPaintManagerColor::kNone)
            GetDrawHelpers()->GradientFill(dc, band, from, to, FALSE);
    };
    gradient(CRect(rect.left, bandTop, rect.right, split), WorkspaceTopColor, WorkspaceMiddleColor);
    gradient(CRect(rect.left, split, rect.right, rect.bottom), WorkspaceMiddleColor, WorkspaceBottomColor);
}
