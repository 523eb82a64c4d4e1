// A static that shows a picture and changes it to a second picture while the mouse is over it. The pictures are two
// bitmap resources of 173 by 80 pixels whose colour RGB(250, 250, 250) is transparent; with the same id twice the
// picture never changes. The main page builds it with the kit bitmap as both pictures:
//
//   CPictureLinkStatic m_pictureLink{IDB_KIT, IDB_KIT};   // then DDX_Control / SubclassDlgItem, SetUrl
//
// A click does nothing (OnClick); the address is only kept.
#pragma once

#include "classlib/ClassLib.h"
#include "wizard/controls/StaticWindow.h"
#include "wizard/controls/UniqueIcon.h"

class CPictureLinkStatic : public CStatic
{
    DECLARE_DYNAMIC(CPictureLinkStatic)

public:
    static constexpr int kPictureWidth = 173;
    static constexpr int kPictureHeight = 80;
    static constexpr COLORREF kTransparentColor = RGB(250, 250, 250);
    // Id of the timer that notices the mouse has gone.
    static constexpr UINT_PTR kLeaveTimerId = 0x85;

    // Loads both bitmaps from the program's resources; a bitmap that cannot be loaded shows nothing.
    CPictureLinkStatic(UINT nNormalBitmapId, UINT nHoverBitmapId);

    void SetUrl(LPCSTR lpszUrl) { m_url = lpszUrl; }
    const CString& GetUrl() const { return m_url; }
    BOOL IsCursorInside() const { return ::IsCursorInside(m_hWnd); }
    BOOL IsHovering() const { return m_hovering; }
    // The picture painted now: the hover picture while the cursor is inside, else the normal one.
    HICON GetCurrentPicture() const;

    // ---- Override these ----------------------------------------------------------------------------------------
    // Called when the left button goes down on the picture; nothing by default.
    virtual void OnClick();

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC hDC);
    void OnLeaveTimer();

    UniqueIcon m_normalIcon;
    UniqueIcon m_hoverIcon;
    UniqueIcon m_singleIcon;
    BOOL m_hovering = FALSE;
    CString m_url;
};
