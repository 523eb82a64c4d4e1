// COSMMarkupImage (tag "Image"): an icon from a file, a resource or the framework's image store, sized by Stretch.
//
//   <Image Source="file://C:\pictures\logo.png" Stretch="Uniform"/>   a PNG, BMP or other picture file
//   <Image Source="res://#201"/>   <Image Source="res://LOGO"/>       a bitmap, else an icon group, of the program
//   <Image Source="32771"/>                                          a command's icon: the markup context's image
//                                                                      manager when it has one, else the process's
//
// A file or resource is read once per Source (and again when Source changes, at the next layout); every measure
// picks the icon nearest the width offered, and a command's icon is looked up again each time. A picture that cannot be
// loaded leaves the image empty (0 by 0), silently. Stretch: None keeps the icon's size; Fill, Uniform and
// UniformToFill scale it to the room, unless the room is unbounded (above 32000) both ways.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/markup/MarkupFrameworkElement.h"

#include <string>

class COSMImageManager;
class COSMImageManagerIcon;

class COSMMarkupImage : public COSMMarkupFrameworkElement
{
    DECLARE_MARKUP_TYPE(COSMMarkupImage)

public:
    enum Stretch
    {
        StretchNone = 0,
        StretchFill = 1,
        StretchUniform = 2,
        StretchUniformToFill = 3,
    };

    COSMMarkupImage() = default;

protected:
    // Releases the icon, then its manager.
    ~COSMMarkupImage() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // The icon's normal image stretched over the render size.
    void OnRender(COSMMarkupDrawingContext* dc) override;
    // Loads the picture at the available width; its size for the room.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // Reads Source's picture when Source is not the one read last (lets go of it without a Source), then picks
    // its icon for the width.
    void LoadSource(int width);
    // The picture's size in a room of (width, height) by Stretch; 0 by 0 without a picture.
    CSize GetImageSize(int width, int height) const;
    // The loaded icon and its manager (borrowed), or null.
    COSMImageManagerIcon* GetIcon() const { return m_pIcon.Get(); }
    COSMImageManager* GetImageManager() const { return m_pImageManager.Get(); }

    // Source (text; re-measures), Stretch (None, Fill, Uniform, UniformToFill; re-measures).
    static COSMMarkupDependencyProperty* s_pSourceProperty;
    static COSMMarkupDependencyProperty* s_pStretchProperty;
    static void RegisterMarkupProperties();

private:
    // Lets go of the picture: the icon, then its manager, and what was read from.
    void ReleaseImage();
    void ReleaseIcon();
    // Fills the image's own manager from a file or resource, or takes the manager of a command id.
    void ReadSource(LPCWSTR text);
    // Adds the bitmap as icon 0 of the image's own manager, then deletes it; FALSE when there is no bitmap or the
    // manager refused it (what AddIconsFromBitmap answered).
    BOOL AddBitmapAsIcon(HBITMAP bitmap, BOOL alpha);
    // A new manager of the image's own with the mask colour green.
    void MakeOwnManager();

    // Declared in this order so the icon goes first: the manager deletes the icons it still holds.
    RefPtr<COSMImageManager> m_pImageManager;
    RefPtr<COSMImageManagerIcon> m_pIcon;
    // The Source the manager was filled from, and the command id it names (0: a file or resource).
    bool m_hasLoadedSource = false;
    std::wstring m_loadedSource;
    UINT m_commandId = 0;
};
