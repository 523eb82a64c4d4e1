// The Office 2007 look's gallery, slider and progress painters: the resources' images in the parts' states.
#include "framework/themes/Office2007PartPainters.h"

#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/PaintManager.h"
#include "framework/controls/ControlGallery.h"
#include "framework/controls/ControlGalleryItems.h"
#include "framework/controls/ProgressBase.h"
#include "framework/controls/ScrollBase.h"
#include "framework/themes/Office2007Images.h"
#include "framework/themes/Office2007Theme.h"

#include <algorithm>

namespace {

const COLORREF kPainterMagenta = RGB(255, 0, 255);
const COLORREF kPainterGrey = RGB(197, 197, 197);
const CRect kNoMargins(0, 0, 0, 0);
const int kGlyphSide = 9;

// The images of an owner that is the Office 2007 look (or derives from it); null for any other owner.
COSMOffice2007Images* Office2007OwnerImages(COSMPaintManager* owner)
{
    if (!owner || !owner->IsKindOf(RUNTIME_CLASS(COSMOffice2007Theme)))
        return nullptr;
    return static_cast<COSMOffice2007Theme*>(owner)->GetImages();
}

COSMOffice2007Image* LoadPainterImage(COSMPaintManager* owner, LPCSTR name)
{
    COSMOffice2007Images* images = Office2007OwnerImages(owner);
    return images ? images->LoadImage(name) : nullptr;
}

void FillPainterRect(CDC* dc, const CRect& rect, COLORREF color)
{
    if (color == static_cast<COLORREF>(-1) || rect.IsRectEmpty())
        return;
    dc->FillSolidRect(rect, color);
}

// A part's state without "disabled": 3 pressed, 2 hot, 1 another part active, 0 none.
int GalleryPartState(int part, BOOL enabled, int pressed, int hot)
{
    if (!enabled)
        return 0;
    if (part == pressed)
        return 3;
    if (part == hot)
        return 2;
    return pressed > 0 || hot > 0 ? 1 : 0;
}

// The source rectangle centred in rect at its own size.
CRect CentredIn(const CRect& rect, const CSize& size)
{
    const int left = (rect.left + rect.right - size.cx) / 2;
    const int top = (rect.top + rect.bottom - size.cy) / 2;
    return CRect(left, top, left + size.cx, top + size.cy);
}

}  // namespace

// ---- Gallery ----

COSMOffice2007GalleryPaintManager::COSMOffice2007GalleryPaintManager(COSMPaintManager* pOwner)
    : COSMControlGalleryPaintManager(pOwner)
{}

COSMOffice2007GalleryPaintManager::~COSMOffice2007GalleryPaintManager() = default;

COSMOffice2007Image* COSMOffice2007GalleryPaintManager::LoadOwnerImage(LPCSTR name) const
{
    return LoadPainterImage(m_pOwner, name);
}

void COSMOffice2007GalleryPaintManager::RefreshMetrics()
{
    COSMControlGalleryPaintManager::RefreshMetrics();
    m_horizontalArrowLength = ::GetSystemMetrics(SM_CXHSCROLL);
    m_horizontalThickness = ::GetSystemMetrics(SM_CYHSCROLL);
    m_verticalArrowLength = ::GetSystemMetrics(SM_CYVSCROLL);
    m_verticalThickness = ::GetSystemMetrics(SM_CXVSCROLL);
    m_upButtonHeight = kPopupUpButtonHeight;
    m_downButtonHeight = kPopupDownButtonHeight;
    COSMOffice2007Images* images = Office2007OwnerImages(m_pOwner);
    auto read = [images](LPCSTR key) {
        return images ? images->GetImageColor("Toolbar", key) : static_cast<COLORREF>(-1);
    };
    m_selectedBackColor = read("ControlGallerySelected");
    m_normalBackColor = read("ControlGalleryNormal");
    m_borderColor = read("ControlGalleryBorder");
}

void COSMOffice2007GalleryPaintManager::FillControl(CDC* dc, COSMControlGallery* gallery, CRect rect)
{
    COSMCommandBar* bar = gallery->GetParent();
    COLORREF back = m_normalBackColor;
    if (bar && bar->GetType() == 2 && bar->GetPosition() == 5)
        back = GetOwnerColor(kFillColor);
    else if (gallery->GetSelected() && gallery->GetEnabled())
        back = m_selectedBackColor;
    FillPainterRect(dc, rect, back);
    if (gallery->IsShowBorders() && m_borderColor != static_cast<COLORREF>(-1))
        dc->Draw3dRect(rect, m_borderColor, m_borderColor);
    if (gallery->HasFollowingControl())
        FillPainterRect(dc, CRect(rect.left, rect.bottom - 2, rect.right, rect.bottom - 1), kPainterGrey);
}

void COSMOffice2007GalleryPaintManager::DrawLabel(CDC* dc, COSMControlGalleryItem* item, CRect rect)
{
    FillPainterRect(dc, rect, GetOwnerColor(kLabelFillColor));
    FillPainterRect(dc, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), kPainterGrey);
    DrawLabelText(dc, item, rect);
}

int COSMOffice2007GalleryPaintManager::GetButtonState(int part, BOOL enabled, int pressed, int hot)
{
    if (!enabled)
        return 4;
    if (part == pressed)
        return 3;
    if (part == hot)
        return 2;
    return pressed > 0 || hot > 0 ? 1 : 0;
}

void COSMOffice2007GalleryPaintManager::DrawPopupScrollBar(CDC* dc, COSMControlGallery* gallery)
{
    COSMOffice2007Image* up = LoadOwnerImage("CONTROLGALLERYUP");
    if (!up)
        return;
    int pressed = -1;
    int hot = -1;
    GetPartStates(gallery, &pressed, &hot);
    const BOOL enabled = gallery->GetEnabled() != 0;
    // A gallery reached by the keyboard with no item selected shows its popup button hot: Enter opens it.
    const int selected = gallery->GetSelected();
    if (hot <= 0 && pressed == -1 && enabled && (selected == 2 || selected == 3) && gallery->GetSelectedItem() == -1)
        hot = COSMScrollBase::kHitPopup;

    const CRect g = gallery->GetRect();
    const int left = g.right - kPopupColumnWidth;
    const int upEnd = g.top + m_upButtonHeight;
    const int downEnd = upEnd + m_downButtonHeight;
    const struct
    {
        int part;
        CRect rect;
        COSMOffice2007Image* image;
    } buttons[] = {
        {COSMScrollBase::kHitFirstArrow, CRect(left, g.top, g.right, upEnd), up},
        {COSMScrollBase::kHitSecondArrow, CRect(left, upEnd, g.right, downEnd), LoadOwnerImage("CONTROLGALLERYDOWN")},
        {COSMScrollBase::kHitPopup, CRect(left, downEnd, g.right, g.bottom), LoadOwnerImage("CONTROLGALLERYPOPUP")},
    };
    for (const auto& button : buttons)
    {
        if (!button.image)
            continue;
        const BOOL buttonEnabled =
            enabled && (button.part == COSMScrollBase::kHitPopup || gallery->IsScrollButtonEnabled(button.part));
        const int state = GetButtonState(button.part, buttonEnabled, pressed, hot);
        button.image->DrawImage(dc, button.rect, button.image->GetStateRect(state, 5), CRect(3, 3, 3, 3),
                                kPainterMagenta);
    }
}

int COSMOffice2007GalleryPaintManager::GetArrowGlyph(BOOL vertical, BOOL secondArrow, BOOL enabled, BOOL active)
{
    const int first = 1 + (vertical ? 0 : 8) + (secondArrow ? 4 : 0);
    if (!enabled)
        return first + 3;
    return first + (active ? 1 : 0);
}

void COSMOffice2007GalleryPaintManager::DrawScrollBar(CDC* dc, COSMScrollBase* bar)
{
    const int style = bar->GetScrollBarStyle();
    if (style != 5 && style != 6)
    {
        COSMControlGalleryPaintManager::DrawScrollBar(dc, bar);
        return;
    }
    const ScrollBarGeometry& g = bar->GetScrollBarGeometry();
    if (g.pxBottom - g.pxTop <= 0 || g.pxRight - g.pxLeft <= 0)
        return;
    const BOOL vertical = g.vertical;
    const bool light = style == 5;
    COSMOffice2007Image* background = LoadOwnerImage(
        vertical ? (light ? "CONTROLGALLERYSCROLLVERTICALLIGHT" : "CONTROLGALLERYSCROLLVERTICALDARK")
                 : (light ? "CONTROLGALLERYSCROLLHORIZONTALLIGHT" : "CONTROLGALLERYSCROLLHORIZONTALDARK"));
    COSMOffice2007Image* arrows = LoadOwnerImage(
        vertical ? (light ? "CONTROLGALLERYSCROLLARROWSVERTICALLIGHT" : "CONTROLGALLERYSCROLLARROWSVERTICALDARK")
                 : (light ? "CONTROLGALLERYSCROLLARROWSHORIZONTALLIGHT" : "CONTROLGALLERYSCROLLARROWSHORIZONTALDARK"));
    COSMOffice2007Image* glyphs = LoadOwnerImage("CONTROLGALLERYSCROLLARROWGLYPHS");
    COSMOffice2007Image* thumbImage =
        LoadOwnerImage(vertical ? "CONTROLGALLERYSCROLLTHUMBVERTICAL" : "CONTROLGALLERYSCROLLTHUMBHORIZONTAL");
    if (!background || !arrows || !glyphs || !thumbImage)
        return;

    const BOOL enabled = (g.posMax - g.posMin - g.page + 1) > 0 && bar->IsScrollBarEnabled();
    int pressed = -1;
    int hot = -1;
    GetPartStates(bar, &pressed, &hot);
    int thumbOffset = g.thumbStart - g.upArrowEnd;
    int thumbLength = g.thumbEnd - g.thumbStart;
    // A thumb reaching into the second arrow is not drawn: the whole track is page-down area.
    if (!enabled || g.thumbEnd > g.downArrowStart)
        thumbOffset = thumbLength = 0;

    // Rectangles from spans along the bar and across it.
    auto partRect = [vertical](int alongStart, int alongEnd, int acrossStart, int acrossEnd) {
        return vertical ? CRect(acrossStart, alongStart, acrossEnd, alongEnd)
                        : CRect(alongStart, acrossStart, alongEnd, acrossEnd);
    };
    const CRect barRect = partRect(g.pxTop, g.pxBottom, g.pxLeft, g.pxRight);
    const int innerStart = g.pxLeft + 1;
    const int innerEnd = g.pxRight - 1;
    const CRect backgroundMargins = vertical ? CRect(1, 0, 1, 0) : CRect(0, 1, 0, 1);

    background->DrawImagePart(dc, barRect, background->GetStateRect(0, 2), backgroundMargins);

    const CRect firstArrow = partRect(g.pxTop, g.upArrowEnd, innerStart, innerEnd);
    const CRect secondArrow = partRect(g.downArrowStart, g.pxBottom, innerStart, innerEnd);
    const struct
    {
        int part;
        CRect rect;
        BOOL second;
    } arrowParts[] = {{COSMScrollBase::kHitFirstArrow, firstArrow, FALSE},
                      {COSMScrollBase::kHitSecondArrow, secondArrow, TRUE}};
    for (const auto& arrow : arrowParts)
    {
        const int state = GalleryPartState(arrow.part, enabled, pressed, hot);
        if (state > 0)
            arrows->DrawImagePart(dc, arrow.rect, arrows->GetStateRect(state, 4), CRect(3, 3, 3, 3));
    }
    for (const auto& arrow : arrowParts)
    {
        const int state = GalleryPartState(arrow.part, enabled, pressed, hot);
        const int glyph = GetArrowGlyph(vertical, arrow.second, enabled, state > 0);
        const CRect source(0, kGlyphSide * (glyph - 1), kGlyphSide, kGlyphSide * glyph);
        glyphs->DrawImage(dc, CentredIn(arrow.rect, CSize(kGlyphSide, kGlyphSide)), source, kNoMargins,
                          kPainterMagenta);
    }

    const int trackStart = g.upArrowEnd;
    const int trackEnd = g.downArrowStart;
    if (trackEnd <= trackStart)
        return;
    const int thumbStart = trackStart + thumbOffset;
    const int thumbEnd = thumbStart + thumbLength;
    const struct
    {
        int part;
        CRect rect;
    } pages[] = {{COSMScrollBase::kHitFirstPage, partRect(trackStart, thumbStart, g.pxLeft, g.pxRight)},
                 {COSMScrollBase::kHitSecondPage, partRect(thumbEnd, trackEnd, g.pxLeft, g.pxRight)}};
    for (const auto& page : pages)
    {
        if (!page.rect.IsRectEmpty() && GalleryPartState(page.part, enabled, pressed, hot) == 3)
            background->DrawImagePart(dc, page.rect, background->GetStateRect(1, 2), backgroundMargins);
    }

    const CRect thumb = partRect(thumbStart, thumbEnd, innerStart, innerEnd);
    if (thumb.IsRectEmpty())
        return;
    const int thumbPartState = GalleryPartState(COSMScrollBase::kHitThumb, enabled, pressed, hot);
    const int thumbState = thumbPartState > 0 ? thumbPartState - 1 : 0;
    thumbImage->DrawImagePart(dc, thumb, thumbImage->GetStateRect(thumbState, 3), CRect(5, 5, 5, 5));
    if (thumbLength > 10)
    {
        COSMOffice2007Image* gripper = LoadOwnerImage(vertical ? "CONTROLGALLERYSCROLLTHUMBGRIPPERVERTICAL"
                                                               : "CONTROLGALLERYSCROLLTHUMBGRIPPERHORIZONTAL");
        if (gripper)
        {
            const CPoint centre = thumb.CenterPoint();
            const CRect grip(centre.x - 3, centre.y - 4, centre.x + 5, centre.y + 4);
            gripper->DrawImagePart(dc, grip, gripper->GetStateRect(thumbState, 3), kNoMargins);
        }
    }
}

// ---- Slider ----

COSMOffice2007SliderPaintManager::COSMOffice2007SliderPaintManager(COSMPaintManager* pOwner)
    : COSMSliderPaintManager(pOwner)
{}

COSMOffice2007SliderPaintManager::~COSMOffice2007SliderPaintManager() = default;

void COSMOffice2007SliderPaintManager::RefreshMetrics()
{
    COSMSliderPaintManager::RefreshMetrics();
    if (COSMOffice2007Image* up = LoadPainterImage(m_pOwner, "SLIDERUP"))
    {
        const CRect state = up->GetStateRect(0, 3);
        m_horizontalArrowLength = state.Width();
        m_horizontalThickness = state.Height();
    }
    m_fixedThumbLength = kThumbLength;
}

void COSMOffice2007SliderPaintManager::DrawScrollBar(CDC* dc, COSMScrollBase* bar)
{
    const ScrollBarGeometry& g = bar->GetScrollBarGeometry();
    if (g.vertical || g.pxRight - g.pxLeft <= 0 || g.pxBottom - g.pxTop <= 0)
        return;
    COSMOffice2007Image* trackImage = LoadPainterImage(m_pOwner, "SLIDERTRACK");
    if (!trackImage)
        return;
    const BOOL enabled = (g.posMax - g.posMin - g.page + 1) > 0 && bar->IsScrollBarEnabled();
    int pressed = -1;
    int hot = -1;
    GetPartStates(bar, &pressed, &hot);
    int thumbStart = g.thumbStart;
    int thumbEnd = g.thumbEnd;
    if (!enabled || g.thumbEnd > g.downArrowStart)
        thumbStart = thumbEnd = g.upArrowEnd;

    const CRect s(g.pxTop, g.pxLeft, g.pxBottom, g.pxRight);
    const CRect firstArrow(s.left, s.top, g.upArrowEnd, s.bottom);
    const CRect secondArrow(g.downArrowStart, s.top, s.right, s.bottom);
    const CRect thumb(thumbStart, s.top, thumbEnd, s.bottom);

    const CRect trackSource = trackImage->GetStateRect(0, 1);
    const int stripTop = s.top + (s.Height() - trackSource.Height()) / 2;
    const CRect strip(g.upArrowEnd, stripTop, g.downArrowStart, stripTop + trackSource.Height());
    trackImage->DrawImagePart(dc, strip, trackSource);

    if (COSMOffice2007Image* tick = LoadPainterImage(m_pOwner, "SLIDERTICK"))
    {
        const CRect tickSource = tick->GetStateRect(0, 1);
        const int tickTop = strip.top + (strip.Height() - tickSource.Height()) / 2;
        auto drawTick = [&](int left) {
            tick->DrawImage(dc, CRect(left, tickTop, left + tickSource.Width(), tickTop + tickSource.Height()),
                            tickSource, kNoMargins, kPainterMagenta);
        };
        const std::vector<double>& ticks = bar->GetTicks();
        if (!ticks.empty() && g.posMax > g.posMin)
        {
            const int left = strip.left + kTickInset;
            const int width = strip.Width() - 2 * kTickInset;
            for (double value : ticks)
            {
                const double x = (value - g.posMin) * width / (g.posMax - g.posMin);
                if (x >= 0 && x <= width)
                    drawTick(left + static_cast<int>(x) - tickSource.Width() / 2);
            }
        }
        else
        {
            drawTick((strip.left + strip.right - tickSource.Width()) / 2);
        }
    }

    const struct
    {
        LPCSTR name;
        int part;
        CRect rect;
    } arrows[] = {{"SLIDERUP", COSMScrollBase::kHitFirstArrow, firstArrow},
                  {"SLIDERDOWN", COSMScrollBase::kHitSecondArrow, secondArrow}};
    for (const auto& arrow : arrows)
    {
        COSMOffice2007Image* image = LoadPainterImage(m_pOwner, arrow.name);
        if (!image || arrow.rect.IsRectEmpty())
            continue;
        const int state = arrow.part == pressed ? 2 : arrow.part == hot ? 1 : 0;
        image->DrawImagePart(dc, arrow.rect, image->GetStateRect(state, 3));
    }

    if (!enabled)
        return;
    COSMOffice2007Image* thumbImage = LoadPainterImage(m_pOwner, "SLIDERTHUMB");
    if (!thumbImage)
        return;
    int state = 0;
    if (pressed == COSMScrollBase::kHitThumb)
        state = 2;
    else if (pressed == COSMScrollBase::kHitFirstPage || pressed == COSMScrollBase::kHitSecondPage ||
             hot == COSMScrollBase::kHitFirstPage || hot == COSMScrollBase::kHitSecondPage ||
             hot == COSMScrollBase::kHitThumb)
        state = 1;
    const CRect source = thumbImage->GetStateRect(state, 3);
    thumbImage->DrawImagePart(dc, CentredIn(thumb, source.Size()), source);
}

// ---- Progress ----

COSMOffice2007ProgressPaintManager::COSMOffice2007ProgressPaintManager(COSMPaintManager* pOwner)
    : COSMProgressPaintManager(pOwner)
{
    m_barHeight = kOffice2007BarHeight;
}

COSMOffice2007ProgressPaintManager::~COSMOffice2007ProgressPaintManager() = default;

void COSMOffice2007ProgressPaintManager::DrawProgress(CDC* dc, const COSMProgressBase* progress)
{
    COSMOffice2007Image* track = LoadPainterImage(m_pOwner, "PROGRESSTRACK");
    if (!track)
        return;
    CRect r = progress->GetProgressRect();
    track->DrawImage(dc, r, track->GetStateRect(0, 1), CRect(2, 2, 2, 2), kPainterMagenta);

    int lower = 0;
    int upper = 0;
    progress->GetRange(lower, upper);
    // Equal or crossed bounds give an empty bar; a position outside the range draws as the nearest bound, so
    // chunk and glow stay inside the track.
    if (upper <= lower)
        return;
    const int pos = std::clamp(progress->GetPos(), lower, upper);
    r.DeflateRect(2, 2);
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    const int w = ::MulDiv(r.Width(), pos - lower, upper - lower);

    COSMOffice2007Image* chunk = LoadPainterImage(m_pOwner, "PROGRESSCHUNK");
    if (!chunk)
        return;
    CRect source = chunk->GetStateRect(0, 1);
    source.right -= 4;
    const CRect c(r.left, r.top, r.left + w, r.bottom);
    // A short chunk shows the right end of the picture.
    if (w < source.Width())
        source.left = source.right - w;
    chunk->DrawImage(dc, c, source, CRect(2, 2, 2, 2), kPainterMagenta);

    if (r.left + w < r.right - 1)
    {
        const int n = std::min(r.Width() - w, 4);
        chunk->DrawImage(dc, CRect(c.right, c.top, c.right + n, c.bottom),
                         CRect(source.right, source.top, source.right + n, source.bottom), CRect(0, 2, 0, 2),
                         kPainterMagenta);
    }
}
