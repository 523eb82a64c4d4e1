// The Office 2003 look's colours and backgrounds: construction, the refresh with the schemes' colour sets, the knob
// image of the popup's expand button, and the fills of command bars, dock bars and message bars. States, grippers,
// separators, special buttons and the status bar are in Office2003ThemeControls.cpp.
#include "framework/themes/Office2003Theme.h"

#include "classlib/DC.h"
#include "classlib/Gdi.h"
#include "classlib/ScopedHandle.h"
#include "classlib/WinApp.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/DockBar.h"
#include "framework/commandbars/MessageBar.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/foundation/ColorManager.h"
#include "framework/foundation/DrawHelpers.h"
#include "framework/foundation/ShadowManager.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(COSMOffice2003Theme, COSMOfficeTheme)

namespace {

// Dock and parent styles that ask for a plain dock colour instead of the gradient.
constexpr DWORD kOffice2003PlainDockStyles = 0x4100;

CRect Office2003ClientRect(CWnd* window)
{
    CRect client(0, 0, 0, 0);
    if (window && window->GetSafeHwnd())
        ::GetClientRect(window->GetSafeHwnd(), &client);
    return client;
}

// The intensities of the knob, column by column (x = index / 16, y = index % 16); 255 is transparent.
const BYTE kOffice2003GlyphIntensities[256] = {
    0xff, 0xff, 0xff, 0xff, 0xfc, 0xea, 0xc6, 0xb4, 0xb4, 0xb4, 0xc6, 0xfc, 0xff, 0xff, 0xff, 0xff,  //
    0xff, 0xff, 0xff, 0xea, 0xea, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x7e, 0xc6, 0xff, 0xff, 0xff,  //
    0xff, 0xff, 0xea, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x5a, 0x90, 0xff, 0xff,  //
    0xff, 0xea, 0xfc, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x5a, 0x36, 0x7e, 0xff,  //
    0xea, 0xfc, 0xfc, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x5a, 0x36, 0x24, 0xea,  //
    0xea, 0xfc, 0xfc, 0xfc, 0xfc, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x7e, 0x6c, 0x48, 0x36, 0x24, 0x5a,  //
    0xea, 0xea, 0xea, 0xea, 0xea, 0xea, 0xc6, 0xb4, 0x90, 0x90, 0x7e, 0x6c, 0x48, 0x24, 0x12, 0x24,  //
    0xc6, 0xea, 0xea, 0xea, 0xc6, 0xc6, 0xc6, 0xb4, 0x90, 0x7e, 0x7e, 0x48, 0x36, 0x24, 0x12, 0x12,  //
    0xc6, 0xc6, 0xc6, 0xc6, 0xc6, 0xb4, 0xb4, 0x90, 0x7e, 0x7e, 0x6c, 0x48, 0x36, 0x12, 0x12, 0x00,  //
    0xc6, 0xb4, 0xb4, 0xb4, 0xb4, 0xb4, 0x90, 0x7e, 0x7e, 0x6c, 0x5a, 0x36, 0x24, 0x12, 0x00, 0x00,  //
    0xc6, 0x90, 0x90, 0x90, 0x90, 0x90, 0x7e, 0x7e, 0x6c, 0x6c, 0x48, 0x36, 0x24, 0x12, 0x00, 0x36,  //
    0xfc, 0x90, 0x7e, 0x7e, 0x7e, 0x7e, 0x6c, 0x6c, 0x5a, 0x5a, 0x36, 0x24, 0x12, 0x00, 0x00, 0xb4,  //
    0xff, 0xc6, 0x6c, 0x6c, 0x6c, 0x6c, 0x5a, 0x5a, 0x5a, 0x48, 0x36, 0x24, 0x12, 0x00, 0x48, 0xff,  //
    0xff, 0xff, 0xb4, 0x6c, 0x5a, 0x5a, 0x5a, 0x48, 0x48, 0x36, 0x24, 0x12, 0x00, 0x36, 0xff, 0xff,  //
    0xff, 0xff, 0xff, 0xc6, 0x5a, 0x48, 0x48, 0x48, 0x36, 0x24, 0x24, 0x12, 0x6c, 0xff, 0xff, 0xff,  //
    0xff, 0xff, 0xff, 0xff, 0xfc, 0xb4, 0x6c, 0x48, 0x36, 0x5a, 0x7e, 0xea, 0xff, 0xff, 0xff, 0xff,  //
};

constexpr COLORREF kOffice2003GlyphKey = RGB(0, 255, 0);

// One scheme's fixed colours (blue, olive, silver).
struct Office2003Scheme
{
    COLORREF dockBar[2];
    COLORREF toolbar[2];
    float toolbarFactor;
    COLORREF expandButton[2];
    COLORREF glyph[2];
    COLORREF popupGripper[2];
    float popupGripperFactor;
    COLORREF popped[2];
    COLORREF toolbarShadow, statusPaneBorder, tearOffGripper, floatingCaption;
    COLORREF faceGradient[2];
    COLORREF shadow;
    // Entries 12, 51, 52, 53, 56, then the framework entries 30, 31, 32, 37, 50, 33, 36, 38, 39, 40, 41, 43, 47.
    COLORREF entries[18];
};

const UINT kOffice2003SchemeEntries[18] = {12, 51, 52, 53, 56, 30, 31, 32, 37, 50, 33, 36, 38, 39, 40, 41, 43, 47};

const Office2003Scheme kOffice2003Schemes[3] = {
    // Blue (also royale and aero).
    {{RGB(158, 190, 245), RGB(196, 218, 250)},
     {RGB(221, 236, 254), RGB(129, 169, 226)},
     0.75f,
     {RGB(117, 166, 241), RGB(0, 53, 145)},
     {RGB(227, 239, 254), RGB(129, 169, 226)},
     {RGB(203, 221, 246), RGB(121, 161, 220)},
     0.5f,
     {RGB(227, 239, 255), RGB(147, 181, 231)},
     RGB(59, 97, 156),
     RGB(211, 211, 211),
     RGB(169, 199, 240),
     RGB(42, 102, 201),
     {RGB(233, 236, 242), RGB(97, 122, 172)},
     RGB(22, 30, 54),
     {RGB(144, 153, 174), RGB(216, 231, 252), RGB(158, 190, 245), RGB(203, 225, 252), RGB(189, 211, 247),
      RGB(196, 219, 249), RGB(255, 238, 194), RGB(0, 0, 128), RGB(0, 0, 128), RGB(0, 0, 128), RGB(254, 128, 62),
      RGB(255, 192, 111), RGB(39, 65, 118), RGB(106, 140, 203), RGB(109, 150, 208), RGB(246, 246, 246), RGB(0, 45, 150),
      RGB(0, 0, 0)}},
    // Olive.
    {{RGB(217, 217, 167), RGB(242, 241, 228)},
     {RGB(244, 247, 222), RGB(183, 198, 145)},
     0.3f,
     {RGB(176, 194, 140), RGB(96, 119, 107)},
     {RGB(236, 240, 213), RGB(184, 198, 147)},
     {RGB(230, 230, 209), RGB(164, 180, 120)},
     0.3f,
     {RGB(236, 240, 213), RGB(194, 206, 159)},
     RGB(96, 128, 88),
     RGB(211, 211, 211),
     RGB(197, 212, 159),
     RGB(116, 134, 94),
     {RGB(243, 244, 240), RGB(131, 144, 113)},
     RGB(31, 34, 25),
     {RGB(151, 160, 123), RGB(226, 231, 191), RGB(171, 192, 138), RGB(216, 227, 182), RGB(222, 227, 189),
      RGB(209, 222, 173), RGB(255, 238, 194), RGB(63, 93, 56), RGB(63, 93, 56), RGB(63, 93, 56), RGB(254, 128, 62),
      RGB(255, 192, 111), RGB(81, 94, 51), RGB(96, 128, 88), RGB(159, 174, 122), RGB(244, 244, 238), RGB(117, 141, 94),
      RGB(0, 0, 0)}},
    // Silver.
    {{RGB(215, 215, 229), RGB(243, 243, 247)},
     {RGB(249, 249, 255), RGB(156, 155, 183)},
     0.75f,
     {RGB(179, 178, 200), RGB(118, 116, 146)},
     {RGB(232, 232, 241), RGB(176, 174, 197)},
     {RGB(215, 215, 226), RGB(133, 131, 162)},
     0.5f,
     {RGB(233, 231, 241), RGB(186, 185, 205)},
     RGB(124, 124, 148),
     RGB(236, 234, 218),
     RGB(192, 192, 211),
     RGB(122, 121, 153),
     {RGB(247, 245, 249), RGB(122, 121, 153)},
     RGB(36, 32, 41),
     {RGB(155, 154, 179), RGB(223, 223, 234), RGB(177, 176, 195), RGB(214, 211, 231), RGB(214, 215, 231),
      RGB(219, 218, 228), RGB(255, 238, 194), RGB(75, 75, 111), RGB(75, 75, 111), RGB(75, 75, 111), RGB(254, 128, 62),
      RGB(255, 192, 111), RGB(84, 84, 117), RGB(110, 109, 143), RGB(168, 167, 190), RGB(253, 250, 255),
      RGB(124, 124, 148), RGB(0, 0, 0)}},
};

// The parent's window rectangle in the bar's client coordinates.
CRect Office2003ParentRect(COSMCommandBar* bar, HWND parent)
{
    CRect rect;
    ::GetWindowRect(parent, &rect);
    ::MapWindowPoints(nullptr, bar->GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

COSMOffice2003Theme::COSMOffice2003Theme()
{
    InitOffice2003Theme();
}

COSMOffice2003Theme::COSMOffice2003Theme(COSMVisualStyleFunctions& styleFunctions) : COSMOfficeTheme(styleFunctions)
{
    InitOffice2003Theme();
}

void COSMOffice2003Theme::InitOffice2003Theme()
{
    CheckedGradient.SetStandardColors(RGB(255, 213, 140), RGB(255, 173, 85), 0.5f);
    PushedGradient.SetStandardColors(RGB(254, 142, 75), RGB(255, 207, 139), 0.5f);
    HighlightGradient.SetStandardColors(RGB(255, 242, 200), RGB(255, 212, 151), 0.5f);
    // The gradients carry the highlight; faded and shadowed icons would fight them.
    GetIconsInfo()->useFadedIcons = 0;
    GetIconsInfo()->iconsWithShadow = 0;
}

// ---- Refresh ----

void COSMOffice2003Theme::RefreshMetrics()
{
    COSMOfficeTheme::RefreshMetrics();
    COSMVisualStyleWrapper& status = GetStatusTheme();
    status.CloseThemeData();
    CWnd* mainWindow = AfxGetMainWnd();
    status.OpenThemeData(mainWindow ? mainWindow->GetSafeHwnd() : nullptr, L"STATUS");

    auto blend = [this](int first, int second, int weight) {
        return COSMColorManager::BlendColors(GetColor(first), GetColor(second), weight);
    };
    PopupBarGripperGradient.SetStandardColors(blend(COLOR_WINDOW, 42, 550), GetColor(42), 0.5f);
    ToolbarGradient.SetStandardColors(blend(COLOR_BTNFACE, COLOR_WINDOW, 205), GetColor(COLOR_BTNFACE), 0.5f);
    DockBarGradient.SetStandardColors(GetColor(COLOR_BTNFACE), blend(COLOR_BTNFACE, COLOR_WINDOW, 205), 0.5f);
    TearOffGripperColor.SetStandardValue(GetColor(kBarFace));
    ToolbarShadowColor.SetStandardValue(GetColor(kBarFace));
    GetFloatingCaptionColor().SetStandardValue(GetColor(COLOR_BTNSHADOW));
    PoppedGradient.SetStandardColors(GetColor(kPopupBackground), blend(COLOR_WINDOW, COLOR_BTNFACE, 550), 0.5f);
    GlyphGradient.SetStandardColors(GetColor(kPopupBackground), blend(COLOR_WINDOW, COLOR_BTNFACE, 550), 0.5f);
    ExpandButtonGradient.SetStandardColors(blend(kThirdStateFill, COLOR_BTNSHADOW, 51), GetColor(COLOR_BTNSHADOW),
                                           0.5f);
    LunaColors = FALSE;
    StatusPaneBorderColor.SetStandardValue(blend(COLOR_BTNFACE, COLOR_WINDOW, 70));
    GetColorEntry(55).SetStandardValue(GetColorManager()->GetGradient(2).Second().GetEffective());

    if (GetColorManager()->IsLowColorScreen())
    {
        const COLORREF face = GetColor(COLOR_BTNFACE);
        for (COSMPaintManagerColorGradient* plain :
             {&ToolbarGradient, &DockBarGradient, &PoppedGradient, &ExpandButtonGradient})
            plain->SetStandardColor(face);
    }

    switch (GetEffectiveVisualStyle())
    {
    case COSMColorManager::kStyleLunaBlue:
    case COSMColorManager::kStyleRoyale:
    case COSMColorManager::kStyleAero:
        ApplySchemeColors(0);
        break;
    case COSMColorManager::kStyleLunaOlive:
        ApplySchemeColors(1);
        break;
    case COSMColorManager::kStyleLunaSilver:
        ApplySchemeColors(2);
        break;
    default:
        break;
    }

    if (LunaColors)
    {
        const UINT grey[3] = {kDisabledPopupText, kDisabledCheckedFrame, kDisabledToolBarText};
        const COLORREF greys[3] = {RGB(141, 141, 141), RGB(141, 141, 141), RGB(141, 141, 141)};
        SetColors(3, grey, greys);
        GetColorEntry(kFloatingBorder).SetStandardValue(GetFloatingCaptionColor().GetEffective());
    }
    PopupBarGripperHiddenGradient.SetFromEffective(ToolbarGradient);
    CreateGlyphImages();
}

void COSMOffice2003Theme::ApplySchemeColors(int scheme)
{
    const Office2003Scheme& s = kOffice2003Schemes[scheme];
    DockBarGradient.SetStandardColors(s.dockBar[0], s.dockBar[1], 0.5f);
    ToolbarGradient.SetStandardColors(s.toolbar[0], s.toolbar[1], s.toolbarFactor);
    ExpandButtonGradient.SetStandardColors(s.expandButton[0], s.expandButton[1], s.toolbarFactor);
    GlyphGradient.SetStandardColors(s.glyph[0], s.glyph[1], 0.5f);
    PopupBarGripperGradient.SetStandardColors(s.popupGripper[0], s.popupGripper[1], s.popupGripperFactor);
    PoppedGradient.SetStandardColors(s.popped[0], s.popped[1], 0.5f);
    ToolbarShadowColor.SetStandardValue(s.toolbarShadow);
    StatusPaneBorderColor.SetStandardValue(s.statusPaneBorder);
    TearOffGripperColor.SetStandardValue(s.tearOffGripper);
    GetFloatingCaptionColor().SetStandardValue(s.floatingCaption);
    GetFaceGradient().SetStandardColors(s.faceGradient[0], s.faceGradient[1], 0.5f);
    if (COSMShadowManager* shadows = GetShadowManager())
        shadows->SetShadowColor(s.shadow);
    SetColors(18, kOffice2003SchemeEntries, s.entries);
    LunaColors = TRUE;
}

void COSMOffice2003Theme::CreateGlyphImages()
{
    GlyphImages.DeleteImageList();
    const COLORREF first = GlyphGradient.First().GetEffective();
    const COLORREF second = GlyphGradient.Second().GetEffective();
    // Truncating division, channel by channel, from the second colour towards the first.
    auto channel = [](int firstValue, int secondValue, int v) {
        return secondValue - v * (secondValue - firstValue) / 255;
    };

    ScopedCreatedDC memory;
    ScopedGdiObject<HBITMAP> bitmap;
    {
        const ScopedWindowDC screen = GetScopedWindowDC(nullptr);
        if (!screen)
            return;
        memory.Reset(::CreateCompatibleDC(screen.Get()));
        bitmap.Reset(::CreateCompatibleBitmap(screen.Get(), 16, 16));
    }
    if (!memory || !bitmap)
        return;
    {
        const ScopedSelection selected = SelectScoped(memory.Get(), bitmap.Get());
        for (int index = 0; index < 256; ++index)
        {
            const int v = kOffice2003GlyphIntensities[index];
            const COLORREF color = v == 255 ? kOffice2003GlyphKey
                                            : RGB(channel(GetRValue(first), GetRValue(second), v),
                                                  channel(GetGValue(first), GetGValue(second), v),
                                                  channel(GetBValue(first), GetBValue(second), v));
            ::SetPixel(memory.Get(), index / 16, index % 16, color);
        }
    }
    if (GlyphImages.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0))
        ::ImageList_AddMasked(GlyphImages.GetSafeHandle(), bitmap.Get(), kOffice2003GlyphKey);
}

// ---- Fills ----

void COSMOffice2003Theme::FillGradient(CDC* dc, const CRect& rect, const COSMPaintManagerColorGradient& gradient,
                                       BOOL horizontal, const CRect* clip)
{
    GetDrawHelpers()->GradientFillTwoPart(dc, rect, gradient, horizontal, clip);
}

void COSMOffice2003Theme::FillGradientFramed(CDC* dc, const CRect& rect, const COSMPaintManagerColorGradient& gradient,
                                             BOOL horizontal, int frameIndex)
{
    GradientFill(dc, rect, gradient.First().GetEffective(), gradient.Second().GetEffective(), horizontal, nullptr);
    FillFramedRect(dc, rect, frameIndex, -1);
}

void COSMOffice2003Theme::FillDockGradientBehind(CDC* dc, const CRect& reference, const CRect& clip)
{
    const int halfScreen = ::GetSystemMetrics(SM_CXFULLSCREEN) / 2;
    const CRect span(reference.left, reference.top, reference.left + std::max<int>(reference.Width(), halfScreen),
                     reference.bottom);
    FillGradient(dc, span, DockBarGradient, TRUE, &clip);
}

void COSMOffice2003Theme::FillDockBar(CDC* dc, COSMDockBar* bar)
{
    const CRect client = Office2003ClientRect(bar);
    if (bar->GetStyle() & kOffice2003PlainDockStyles)
        dc->FillSolidRect(client, DockBarGradient.Second().GetEffective());
    else
        FillDockGradientBehind(dc, client, client);
}

void COSMOffice2003Theme::FillMessageBar(CDC* dc, COSMMessageBar* bar)
{
    const CRect client = Office2003ClientRect(bar);
    FillDockGradientBehind(dc, client, client);
    CRect inner;
    COSMMessageBar::GetInnerRect(bar, &inner);
    const COLORREF frame = ToolbarShadowColor.GetEffective();
    if (frame != COSMPaintManagerColor::kNone)
        dc->Draw3dRect(inner, frame, frame);
    inner.DeflateRect(1, 1);
    FillFramedRect(dc, inner, -1, COLOR_INFOBK);
}

BOOL COSMOffice2003Theme::HasFloatingBarFrame(COSMCommandBar* bar)
{
    return !IsFlatToolBar(bar) && (bar->GetFlags() & 0xF) != 0;
}

void COSMOffice2003Theme::FillCommandBar(CDC* dc, COSMCommandBar* bar)
{
    const CRect client = Office2003ClientRect(bar);
    const int position = bar->GetPosition();
    HWND parent = bar->GetSafeHwnd() ? ::GetParent(bar->GetSafeHwnd()) : nullptr;
    if (position == 5)
    {
        FillFramedRect(dc, client, kPopupBorder, kPopupBackground);
        if (auto* popup = dynamic_cast<COSMPopupBar*>(bar))
            FillIntersectRect(dc, popup, GetColor(kPopupBackground));
        return;
    }
    if (IsFlatToolBar(bar))
    {
        const CRect reference = position >= 0 && position <= 3 && parent ? Office2003ParentRect(bar, parent) : client;
        FillDockGradientBehind(dc, reference, client);
        if (position == 4)
        {
            FillFramedRect(dc, client, kFloatingBorder, -1);
            FillFramedRect(dc, CRect(client.left + 1, client.top + 1, client.right - 1, client.bottom - 1),
                           kFloatingBorder, -1);
            const COLORREF border = GetColor(kFloatingBorder);
            for (const CPoint& corner : {CPoint(2, 2), CPoint(client.right - 2, 2), CPoint(2, client.bottom - 2),
                                         CPoint(client.right - 2, client.bottom - 2)})
                dc->SetPixel(corner, border);
        }
        return;
    }
    if (position >= 0 && position <= 3)
    {
        FillDockedBar(dc, bar, client);
        return;
    }
    if (position == 4 && HasFloatingBarFrame(bar))
    {
        FillFloatingFramedBar(dc, bar, client);
        return;
    }
    COSMOfficeTheme::FillCommandBar(dc, bar);
}

void COSMOffice2003Theme::FillDockedBar(CDC* dc, COSMCommandBar* bar, CRect rc)
{
    const int position = bar->GetPosition();
    const BOOL horizontal = position == 0 || position == 1;
    HWND parent = bar->GetSafeHwnd() ? ::GetParent(bar->GetSafeHwnd()) : nullptr;
    FillFramedRect(dc, rc, -1, COLOR_BTNFACE);

    // The first control's row bounds the face gradient; the rest of the face is its end colour.
    COSMControl* first = nullptr;
    if (COSMControls* controls = bar->GetControls())
    {
        const int index = controls->GetNext(-1, 1, FALSE);
        if (index >= 0)
            first = controls->GetAt(index);
    }

    // The fills exclude strips and corners from clipping; the caller's own region holds again afterwards.
    const ScopedClipRegion keeper = KeepClipRegion(dc->GetSafeHdc());
    if (parent)
    {
        if (!horizontal && (::GetWindowLongPtr(parent, GWL_STYLE) & kOffice2003PlainDockStyles))
            dc->FillSolidRect(rc, DockBarGradient.Second().GetEffective());
        else
            FillDockGradientBehind(dc, Office2003ParentRect(bar, parent), rc);
    }
    const COLORREF secondFace = ToolbarGradient.Second().GetEffective();
    const COLORREF shadow = ToolbarShadowColor.GetEffective();
    if (horizontal)
    {
        dc->ExcludeClipRect(rc.left, rc.top, rc.left + 3, rc.bottom);
        GetDrawHelpers()->ExcludeCorners(dc, rc.left + 3, rc.top + 1, rc.right, rc.bottom - 1);
        CRect face(rc.left, rc.top + 1, rc.right, rc.bottom);
        if (first)
            face.bottom = first->GetRowRect().bottom + 1;
        FillGradient(dc, face, ToolbarGradient, FALSE);
        const int rest = rc.Height() - face.Height() - 2;
        if (rest > 0 && secondFace != COSMPaintManagerColor::kNone)
            dc->FillSolidRect(face.left, face.bottom, face.Width(), rest, secondFace);
        if (shadow != COSMPaintManagerColor::kNone)
            HorizontalLine(dc, rc.left + 5, rc.bottom - 1, rc.left + 5 + rc.Width() - 7, shadow);
    }
    else
    {
        dc->ExcludeClipRect(rc.left, rc.top, rc.right, rc.top + 3);
        GetDrawHelpers()->ExcludeCorners(dc, rc.left + 1, rc.top + 3, rc.right - 1, rc.bottom);
        CRect face(rc.left + 1, rc.top, rc.right, rc.bottom);
        if (first)
            face.right = first->GetRowRect().right + 1;
        FillGradient(dc, face, ToolbarGradient, TRUE);
        const int rest = rc.Width() - face.Width() - 2;
        if (rest > 0 && secondFace != COSMPaintManagerColor::kNone)
            dc->FillSolidRect(face.right, face.top, rest, face.Height(), secondFace);
        if (shadow != COSMPaintManagerColor::kNone)
            VerticalLine(dc, rc.right - 1, rc.top + 5, rc.top + 5 + rc.Height() - 7, shadow);
    }
}

void COSMOffice2003Theme::FillFloatingFramedBar(CDC* dc, COSMCommandBar* bar, CRect client)
{
    FillFramedRect(dc, client, kFloatingBorder, kBarFace);
    FillFramedRect(dc, CRect(client.left + 1, client.top + 1, client.right - 1, client.bottom - 1), kFloatingBorder,
                   -1);
    const COLORREF border = GetColor(kFloatingBorder);
    auto corners = [&]() {
        for (const CPoint& corner : {CPoint(2, 2), CPoint(client.right - 2, 2), CPoint(2, client.bottom - 2),
                                     CPoint(client.right - 2, client.bottom - 2)})
            dc->SetPixel(corner, border);
    };
    corners();

    int captionHeight = 0;
    {
        CFont* old = dc->SelectObject(&GetRegularFont());
        captionHeight = std::max<int>(dc->GetTextExtent("X", 1).cy, 15);
        dc->SelectObject(old);
    }
    int top = 2 + captionHeight;
    const int bottom = client.bottom - 2;
    const int left = 2, right = client.right - 2;
    // One gradient band per row, so each row of a wrapped floating bar gets its own face.
    if (COSMControls* controls = bar->GetControls())
        for (int i = 0; i < controls->GetCount(); ++i)
        {
            COSMControl* control = controls->GetAt(i);
            if (!control->IsVisible() || !control->GetWrap() || control->GetRect().top <= top)
                continue;
            const int rowTop = control->GetRowRect().top;
            FillGradient(dc, CRect(left, top, right, rowTop), ToolbarGradient, FALSE);
            top = rowTop;
        }
    FillGradient(dc, CRect(left, top, right, bottom), ToolbarGradient, FALSE);
    corners();
}
