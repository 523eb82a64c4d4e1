// The customize sheet's image commands: copy, paste and edit a control's button image, the grid of predefined
// images and the images it starts with.
#include "framework/controls/CustomizeSheet.h"

#include "classlib/DC.h"
#include "classlib/OleDataObject.h"
#include "framework/commandbars/CommandBar.h"
#include "framework/commandbars/CommandBars.h"
#include "framework/commandbars/Control.h"
#include "framework/commandbars/Controls.h"
#include "framework/commandbars/CustomizeResourceIds.h"
#include "framework/commandbars/PopupBar.h"
#include "framework/controls/CustomizeImageButton.h"
#include "framework/controls/ImageEditorDialog.h"
#include "framework/foundation/ImageFunctions.h"
#include "framework/foundation/ImageManager.h"
#include "framework/foundation/ImageManagerIcon.h"
#include "framework/foundation/ImageManagerIconHandle.h"
#include "framework/foundation/ImageManagerIconSet.h"

#include <algorithm>
#include <cmath>

namespace {

// The width and height of the grid's images with their button borders.
constexpr int kGridButtonSize = 23;
// The grid's own borders.
constexpr int kGridBorders = 6;
// The predefined images: 16 x 16, magenta transparent.
constexpr int kPredefinedImageSize = 16;
constexpr COLORREF kPredefinedImageMask = RGB(255, 0, 255);

// A bitmap of the image over the button face, for programs that read only plain bitmaps.
HBITMAP CreateFaceBitmap(HWND window, COSMImageManagerIconHandle& image)
{
    const CSize extent = image.GetExtent();
    HDC client = ::GetDC(window);
    HBITMAP bitmap = ::CreateCompatibleBitmap(client, extent.cx, extent.cy);
    if (bitmap)
    {
        HDC memory = ::CreateCompatibleDC(client);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        RECT all = {0, 0, extent.cx, extent.cy};
        ::FillRect(memory, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        if (image.GetIcon())
            ::DrawStateA(memory, nullptr, nullptr, reinterpret_cast<LPARAM>(image.GetIcon()), 0, 0, 0, extent.cx,
                         extent.cy, DST_ICON);
        else
            image.Draw(CDC::FromHandle(memory), 0, 0, extent.cx, extent.cy);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    ::ReleaseDC(window, client);
    return bitmap;
}

// A 32-bit copy of the alpha image with straight (not premultiplied) colours, as other programs and a later paste
// read them.
HBITMAP CreateStraightAlphaCopy(const COSMImageManagerIconHandle& image)
{
    LPBYTE bits = nullptr;
    HBITMAP copy = Create32bppBitmapCopy(image.GetBitmap(), &bits);
    if (!copy || !bits || !image.GetPreMultipliedBits())
        return copy;
    const CSize extent = image.GetExtent();
    for (LONG i = 0; i < extent.cx * extent.cy; ++i)
    {
        BYTE* pixel = bits + i * 4;
        const int alpha = pixel[3];
        if (alpha == 0 || alpha == 255)
            continue;
        for (int channel = 0; channel < 3; ++channel)
            pixel[channel] = static_cast<BYTE>(std::min(255, (pixel[channel] * 255 + alpha / 2) / alpha));
    }
    return copy;
}

// The clipboard takes the handle on success; on failure it is still ours and goes.
void PlaceOnClipboard(UINT format, HANDLE data, BOOL isBitmap)
{
    if (!data || ::SetClipboardData(format, data))
        return;
    TRACE("COSMCustomizeSheet::OnCustomizeCopyImage() error. Error code = %lx\n", ::GetLastError());
    if (isBitmap)
        ::DeleteObject(data);
    else
        ::GlobalFree(data);
}

// The clipboard's bitmap as an image: a 32-bit image with alpha when the marker says so, else a masked icon whose
// button-face pixels are transparent (empty unless the bitmap makes exactly one image).
COSMImageManagerIconHandle ImageFromClipboardBitmap(const COleDataObject& data)
{
    COSMImageManagerIconHandle image;
    STGMEDIUM medium{};
    // The clipboard's own bitmap, borrowed: it is not released, and the masking below works on a copy of it.
    if (!data.GetData(CF_BITMAP, &medium) || medium.tymed != TYMED_GDI || !medium.hBitmap)
        return image;
    BITMAP info{};
    if (::GetObjectA(medium.hBitmap, sizeof(info), &info) != sizeof(info))
        return image;
    if (data.IsDataAvailable(OSM_CF_ALPHA_BITMAP))
    {
        image.SetBitmap(medium.hBitmap);
        return image;
    }
    HIMAGELIST list = ::ImageList_Create(info.bmWidth, info.bmHeight, ILC_MASK | ILC_COLOR24, 0, 1);
    if (!list)
        return image;
    if (auto copy = static_cast<HBITMAP>(::CopyImage(medium.hBitmap, IMAGE_BITMAP, 0, 0, 0)))
    {
        ::ImageList_AddMasked(list, copy, ::GetSysColor(COLOR_BTNFACE));
        ::DeleteObject(copy);
    }
    if (::ImageList_GetImageCount(list) == 1)
        image.SetIcon(::ImageList_GetIcon(list, 0, 0));
    ::ImageList_Destroy(list);
    return image;
}

}  // namespace

int(WINAPI* COSMCustomizeSheet::s_pfnMessageBox)(HWND, LPCSTR, LPCSTR, UINT) = &::MessageBoxA;

void COSMCustomizeSheet::LoadPredefinedImages()
{
    RefPtr<COSMImageManager> images = AdoptRef(new COSMImageManager);
    images->SetMaskColor(kPredefinedImageMask);
    HBITMAP strip = static_cast<HBITMAP>(
        ::LoadImageA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDB_OSM_CUSTOMIZE_IMAGES), RT_BITMAP),
                     MAKEINTRESOURCEA(IDB_OSM_CUSTOMIZE_IMAGES), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (strip)
    {
        BITMAP info{};
        ::GetObjectA(strip, sizeof(info), &info);
        const int count = info.bmWidth / kPredefinedImageSize;
        std::vector<UINT> ids(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            ids[static_cast<size_t>(i)] = static_cast<UINT>(i + 1);
        if (count > 0)
            images->AddIconsFromBitmap(strip, ids.data(), count, kPredefinedImageSize, kPredefinedImageSize, 0, FALSE);
        ::DeleteObject(strip);
    }
    m_predefinedImages = images;
}

void COSMCustomizeSheet::SetPredefinedImages(COSMImageManager* images)
{
    m_predefinedImages = RetainRef(images);
}

void COSMCustomizeSheet::OnCustomizeCopyImage()
{
    COSMControl* control = GetSelectedControl();
    const UINT iconId = control ? control->GetIconId() : 0;
    if (iconId == 0)
        return;
    COSMImageManager* images = m_commandBars->GetImageManager();
    COSMImageManagerIcon* icon = images->GetImage(iconId, 16);
    if (!icon)
        return;
    // An image of its own: one in a cache slot would hand out the whole cache strip.
    COSMImageManagerIconHandle image;
    image.CopyOwnImageFrom(icon->GetIcon());
    const BOOL alpha = image.IsAlpha();
    HBITMAP bitmap = alpha ? CreateStraightAlphaCopy(image) : CreateFaceBitmap(m_hWnd, image);
    if (!bitmap)
        return;
    if (!::OpenClipboard(m_hWnd))
    {
        ::DeleteObject(bitmap);
        return;
    }
    if (!::EmptyClipboard())
    {
        ::CloseClipboard();
        ::DeleteObject(bitmap);
        return;
    }
    PlaceOnClipboard(CF_BITMAP, bitmap, TRUE);
    if (alpha)
        PlaceOnClipboard(OSM_CF_ALPHA_BITMAP, ::GlobalAlloc(GMEM_MOVEABLE, 1), FALSE);
    if (images->LookupIconSet(iconId))
        images->CopyImageToClipboard(iconId);
    ::CloseClipboard();
}

void COSMCustomizeSheet::OnCustomizePasteImage()
{
    COSMControl* control = GetSelectedControl();
    if (!control)
        return;
    COSMImageManager* images = m_commandBars->GetImageManager();
    COleDataObject data;
    data.AttachClipboard();
    if (data.IsDataAvailable(OSM_CF_TOOLBAR_IMAGE))
    {
        if (const UINT id = images->PasteFromClipboard(&data))
        {
            control->SetCustomIconId(static_cast<int>(id));
            RecalcParentLayout(control);
        }
        data.Release();
        return;
    }
    COSMImageManagerIconHandle image;
    if (data.IsDataAvailable(CF_BITMAP))
        image = ImageFromClipboardBitmap(data);
    data.Release();
    if (image.IsEmpty())
        return;
    control->SetCustomIconId(static_cast<int>(images->AddCustomIcon(image)));
    RecalcParentLayout(control);
}

void COSMCustomizeSheet::OnCustomizeEditImage()
{
    COSMControl* control = GetSelectedControl();
    const UINT iconId = control ? control->GetIconId() : 0;
    if (iconId == 0)
        return;
    // The editor runs its own loop: the control stays while it does, whatever the bars do meanwhile.
    const RefPtr<COSMControl> keepAlive = RetainRef(control);
    COSMImageManager* images = m_commandBars->GetImageManager();
    const CSize size = control->GetIconSize();
    COSMImageManagerIcon* icon = images->GetImage(iconId, size.cx);
    const RefPtr<COSMImageManagerIcon> keepIcon = RetainRef(icon);

    COSMImageEditorDialog editor(this, TRUE);
    if (icon)
        editor.SetIcon(icon->GetIcon());
    else
        editor.SetSize(size.cx, size.cy);
    if (editor.DoModal() != IDOK)
        return;
    COSMImageManagerIconHandle result;
    editor.GetIcon(&result);
    if (result.IsEmpty())
        return;
    if (control->GetCustomIconId() != 0 && icon)
    {
        // Every control that shares the custom id shows the new picture.
        icon->SetIcon(result);
        images->NoteIconsChanged();
        m_commandBars->RedrawCommandBars();
    }
    else
    {
        control->SetCustomIconId(static_cast<int>(images->AddCustomIcon(result)));
    }
    RecalcParentLayout(control);
}

LRESULT COSMCustomizeSheet::OnInitCommandBar(WPARAM, LPARAM lParam)
{
    auto* bar = reinterpret_cast<COSMCommandBar*>(lParam);
    if (!bar || bar->GetBarID() != kCommandChangeImage || bar->GetControlCount() != 0)
        return 0;
    const int count = m_predefinedImages ? static_cast<int>(m_predefinedImages->GetIconSets().GetCount()) : 0;
    for (int i = 1; i <= count; ++i)
    {
        COSMControl* button =
            bar->GetControls()->AddControl(new COSMCustomizeImageButton, static_cast<int>(kCommandChangeImage));
        if (!button)
            continue;
        if (button->GetIconIdField() != i)
        {
            button->SetIconId(i);
            button->RedrawParent(FALSE);
        }
        // The grid's buttons are always enabled: the bar's update leaves them alone.
        button->SetFlags(COSMControl::kFlagManualUpdate);
    }
    // About as many images to a row as there are rows.
    bar->SetMRUWidth(static_cast<int>(std::sqrt(static_cast<double>(count))) * kGridButtonSize + kGridBorders);
    return 0;
}

void COSMCustomizeSheet::ApplyPredefinedImage(COSMControl* imageButton)
{
    COSMControl* control = GetSelectedControl();
    if (!control || !imageButton || !m_predefinedImages)
        return;
    COSMImageManagerIconSet* set = m_predefinedImages->LookupIconSet(imageButton->GetIconId());
    if (!set || set->GetIconCount() != 1)
        return;
    POSITION position = set->GetStartPosition();
    int width = 0;
    COSMImageManagerIcon* icon = nullptr;
    set->GetNextIcon(position, width, icon);
    if (!icon)
        return;
    const UINT id = m_commandBars->GetImageManager()->AddCustomIcon(icon->GetIcon());
    if (id == 0)
        return;
    control->SetCustomIconId(static_cast<int>(id));
    RecalcParentLayout(control);
}
