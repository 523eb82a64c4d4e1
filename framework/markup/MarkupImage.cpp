#include "framework/markup/MarkupImage.h"

#include "classlib/CString.h"
#include "classlib/DC.h"
#include "framework/foundation/ImageManager.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupConverters.h"
#include "framework/markup/MarkupDependencyProperty.h"
#include "framework/markup/MarkupDrawingContext.h"
#include "framework/markup/MarkupImageLoaders.h"
#include "framework/markup/MarkupScalars.h"
#include "framework/markup/MarkupString.h"
#include "framework/markup/MarkupType.h"

#include <algorithm>
#include <cwchar>

IMPLEMENT_MARKUP_TYPE(COSMMarkupImage, COSMMarkupFrameworkElement, L"Image", &COSMMarkupImage::RegisterMarkupProperties)

COSMMarkupDependencyProperty* COSMMarkupImage::s_pSourceProperty = nullptr;
COSMMarkupDependencyProperty* COSMMarkupImage::s_pStretchProperty = nullptr;

namespace {

// Rooms above this are unbounded: the picture keeps its own size there.
constexpr int kUnboundedRoom = 32000;
// The mask colour of pictures without alpha.
const COLORREF kMaskColor = RGB(0, 255, 0);

BOOL StartsWith(LPCWSTR text, LPCWSTR prefix)
{
    return _wcsnicmp(text, prefix, wcslen(prefix)) == 0;
}

}  // namespace

void COSMMarkupImage::RegisterMarkupProperties()
{
    using Metadata = COSMMarkupPropertyMetadata;
    COSMMarkupType* type = GetClassType();
    s_pSourceProperty = COSMMarkupDependencyProperty::Register(L"Source", COSMMarkupString::GetClassType(), type,
                                                               new Metadata(nullptr, Metadata::AffectsMeasure));
    s_pStretchProperty = COSMMarkupDependencyProperty::Register(
        L"Stretch", COSMMarkupEnum::GetClassType(), type,
        new Metadata(COSMMarkupEnum::CreateValue(StretchNone), ConvertStretch, Metadata::AffectsMeasure));
}

COSMMarkupImage::~COSMMarkupImage()
{
    ReleaseImage();
}

void COSMMarkupImage::ReleaseIcon()
{
    m_pIcon.Reset();
}

void COSMMarkupImage::ReleaseImage()
{
    // The icon first: the manager deletes the icons it still holds.
    ReleaseIcon();
    m_commandId = 0;
    m_hasLoadedSource = false;
    m_loadedSource.clear();
    m_pImageManager.Reset();
}

void COSMMarkupImage::MakeOwnManager()
{
    m_pImageManager = RefPtr<COSMImageManager>::Adopt(new COSMImageManager);
    m_pImageManager->SetMaskColor(kMaskColor);
}

BOOL COSMMarkupImage::AddBitmapAsIcon(HBITMAP bitmap, BOOL alpha)
{
    if (!bitmap)
        return FALSE;
    // The manager copies the bitmap into its icons; the loaded one is ours to delete.
    const BOOL added = m_pImageManager->AddIconsFromBitmap(bitmap, nullptr, 1, 0, 0, 0, alpha);
    ::DeleteObject(bitmap);
    return added;
}

void COSMMarkupImage::LoadSource(int width)
{
    const COSMMarkupString* source = MarkupDynamicCast<COSMMarkupString>(GetValue(s_pSourceProperty));
    if (!source)
    {
        ReleaseImage();
        return;
    }
    // A file or resource is read once per Source; later passes only pick the icon for the width offered. A
    // command's icon lives in a manager the image does not own, so that one is looked up at every pass (the
    // context's manager, or the icons stored under the id, may have changed meanwhile).
    LPCWSTR text = source->GetText();
    if (!m_hasLoadedSource || m_loadedSource != text || m_commandId != 0)
    {
        ReleaseImage();
        ReadSource(text);
        m_hasLoadedSource = true;
        m_loadedSource = text;
    }
    ReleaseIcon();
    if (!m_pImageManager)
        return;
    m_pIcon = RefPtr<COSMImageManagerIcon>::Retain(m_pImageManager->GetImage(m_commandId, width));
}

void COSMMarkupImage::ReadSource(LPCWSTR text)
{
    if (StartsWith(text, L"file://"))
    {
        MakeOwnManager();
        BOOL alpha = FALSE;
        const CString path(text + 7);
        AddBitmapAsIcon(GetMarkupImageLoaders().LoadImageFile(path, &alpha), alpha);
    }
    else if (StartsWith(text, L"res://"))
    {
        MakeOwnManager();
        const CString name(text + 6);
        LPCSTR resource = name;
        if (resource[0] == '#')
            resource = MAKEINTRESOURCEA(static_cast<WORD>(strtoul(resource + 1, nullptr, 10)));
        BOOL alpha = FALSE;
        if (!AddBitmapAsIcon(GetMarkupImageLoaders().LoadImageResource(resource, &alpha), alpha))
            m_pImageManager->LoadIconGroupResource(name, 0, 0, 0);
    }
    else
    {
        const long number = wcstol(text, nullptr, 10);
        if (number <= 0)
            return;
        m_commandId = static_cast<UINT>(number);
        COSMMarkupContext* context = GetMarkupContext();
        m_pImageManager = RefPtr<COSMImageManager>::Retain(
            context && context->GetImageManager() ? context->GetImageManager() : ::GetImageManager());
    }
}

CSize COSMMarkupImage::GetImageSize(int width, int height) const
{
    if (!m_pIcon)
        return CSize(0, 0);
    const int iconWidth = m_pIcon->GetWidth();
    const int iconHeight = m_pIcon->GetHeight();
    const COSMMarkupEnum* stretchValue = MarkupDynamicCast<COSMMarkupEnum>(GetValue(s_pStretchProperty));
    const int stretch = stretchValue ? stretchValue->GetValue() : StretchNone;
    if (iconWidth == 0 || iconHeight == 0 || stretch == StretchNone ||
        (width > kUnboundedRoom && height > kUnboundedRoom))
        return CSize(iconWidth, iconHeight);
    double scaleX = static_cast<double>(width) / iconWidth;
    double scaleY = static_cast<double>(height) / iconHeight;
    if (width > kUnboundedRoom)
        scaleX = scaleY;
    else if (height > kUnboundedRoom)
        scaleY = scaleX;
    else if (stretch == StretchUniform)
        scaleX = scaleY = std::min(scaleX, scaleY);
    else if (stretch == StretchUniformToFill)
        scaleX = scaleY = std::max(scaleX, scaleY);
    return CSize(static_cast<int>(iconWidth * scaleX), static_cast<int>(iconHeight * scaleY));
}

CSize COSMMarkupImage::MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight)
{
    LoadSource(availableWidth);
    return GetImageSize(availableWidth, availableHeight);
}

CSize COSMMarkupImage::ArrangeOverride(int width, int height)
{
    return GetImageSize(width, height);
}

void COSMMarkupImage::OnRender(COSMMarkupDrawingContext* dc)
{
    if (!m_pIcon)
        return;
    const CSize size = GetRenderSize();
    HDC hdc = dc->GetDC();
    CDC target;
    target.Attach(hdc);
    m_pIcon->DrawNormal(&target, CPoint(0, 0), size);
    target.Detach();
    dc->ReleaseDC(hdc);
}
